#include "WorkerJoin.h"
#include "ServerCore.h"

void JoinWorker(CWorkerThread& thread, const char* pszName, CServerCore& core)
{
    if (thread.Join(CWorkerThread::STOP_DEADLINE_MS))
        return;
    core.LogEvent("The %s is late to stop; waiting for it\r\n", pszName);
    thread.Join(INFINITE);
}

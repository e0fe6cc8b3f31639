#include "LinkWorker.h"
#include "../core/ServerCore.h"

static const DWORD WORKER_STOP_GRACE_MS = 1000;

bool StopLinkWorker(CWorkerThread* pThread, const char* pszLink, CServerCore& core)
{
    pThread->RequestStop();
    if (pThread->WaitOrTerminate(WORKER_STOP_GRACE_MS))
    {
        delete pThread;
        return true;
    }
    core.LogEvent("The %s did not stop; it is left to end by itself\r\n", pszLink);
    return false;
}

#include "LinkWorker.h"
#include "../core/WorkerJoin.h"

void StopLinkWorker(CWorkerThread* pThread, const char* pszLink, CServerCore& core)
{
    pThread->RequestStop();
    JoinWorker(*pThread, pszLink, core);
    delete pThread;
}

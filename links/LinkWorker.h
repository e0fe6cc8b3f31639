// Stopping a link's worker thread: asked to stop and joined. One that is late is
// logged and waited for still: it is never killed nor left behind.
#pragma once
#include "../framework/WorkerThread.h"

class CServerCore;

// Deletes pThread (made with new) once its body has returned.
void StopLinkWorker(CWorkerThread* pThread, const char* pszLink, CServerCore& core);

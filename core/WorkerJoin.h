// Joining the server's worker threads: the links', the web remote's and the
// automation threads'. A thread late to stop is logged and waited for still.
#pragma once
#include "../framework/WorkerThread.h"

class CServerCore;

// Joins the thread (asked to stop already), with a line in the log when it takes
// longer than CWorkerThread::STOP_DEADLINE_MS.
void JoinWorker(CWorkerThread& thread, const char* pszName, CServerCore& core);

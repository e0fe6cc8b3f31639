// Stopping a link's worker thread: asked to stop, given a grace period, and left
// to end by itself (with a line in the log) when it cannot be ended safely.
#pragma once
#include "../framework/WorkerThread.h"

class CServerCore;

// pThread was made with new and CWorkerThread(true). True (and the thread
// deleted) when it ended; false when it was left running.
bool StopLinkWorker(CWorkerThread* pThread, const char* pszLink, CServerCore& core);

// One thread with a single-threaded COM apartment that makes every automation
// call of one controller. Commands come from either link's worker and the end
// from the user-interface thread; running them all here keeps each reference in
// the apartment that made it, whether the application is a local server (the
// references are proxies) or an in-process object, and runs one at a time.
#pragma once
#include <windows.h>
#include <atomic>
#include <deque>
#include <string>
#include "Automation.h"
#include "ControllerLog.h"
#include "../framework/WorkerThread.h"

// The thread's apartment: a single-threaded one of its own, or none, when the
// owner's operations enter the one they need (the runtime's, for media sessions).
enum AutomationApartment
{
    APARTMENT_SINGLE_THREADED,
    APARTMENT_ENTERED_BY_OWNER
};

class CAutomationThread
{
public:
    // One operation of the owner, by number; runs on the automation thread.
    typedef void (*OperationBody)(void* pOwner, int nOperation, const char* pszFileName,
                                  AutomationOutcome& outcome);
    // An operation whose caller stopped waiting before it began: it is not run.
    typedef void (*DroppedOperation)(void* pOwner, int nOperation);

    CAutomationThread(OperationBody pBody, DroppedOperation pDropped, void* pOwner,
                      AutomationApartment nApartment = APARTMENT_SINGLE_THREADED);
    ~CAutomationThread();

    // Runs the operation on the thread, starting it the first time, and waits for
    // it. False when the calling link worker is asked to stop first: an operation
    // still queued is then dropped (the owner hears of it when its turn comes),
    // one already running finishes and its outcome is dropped.
    bool Run(int nOperation, const char* pszFileName, AutomationOutcome& outcome);
    // Runs nLastOperation after whatever is queued, asks the thread to end and
    // joins it. One that takes longer than nWaitMs is logged (with pLateLog) and
    // waited for still: it is never ended from outside.
    void Finish(int nLastOperation, DWORD nWaitMs, CControllerLog* pLateLog = NULL,
                const char* pszApp = NULL);
    // Inside an operation: whether its caller has stopped waiting for it, or the
    // thread is being ended, so that a long wait in it may end early.
    static bool CallerStopped();

private:
    CAutomationThread(const CAutomationThread&);
    CAutomationThread& operator=(const CAutomationThread&);

    // Shared by the caller and the thread; the last of them deletes it, so a
    // caller that stops waiting leaves nothing dangling.
    struct Request
    {
        int nOperation;
        std::string fileName;
        AutomationOutcome outcome;
        HANDLE hDone;
        LONG nOwners;
        std::atomic<bool> bCallerGone;
    };
    static Request* NewRequest(int nOperation, const char* pszFileName, LONG nOwners);
    static void DropRequest(Request* pRequest);
    static bool WaitUnlessStopped(HANDLE hDone);
    static void ServeRequests(CWorkerThread& thread, void* pSelf);
    void ServeQueue(CWorkerThread& thread);

    bool Queue(Request* pRequest, bool bStart);
    Request* NextRequest();
    void WaitForWork(HANDLE hStopEvent);

    OperationBody m_pBody;
    DroppedOperation m_pDropped;
    void* m_pOwner;
    AutomationApartment m_nApartment;
    CRITICAL_SECTION m_lock;
    std::deque<Request*> m_queue;
    HANDLE m_hWake;
    CWorkerThread m_thread;
};

// A worker thread that is asked to stop through an event and, if it does not
// stop within a grace period, is terminated from outside.
#pragma once
#include <windows.h>
#include <atomic>

class CWorkerThread
{
public:
    typedef void (*ThreadBody)(CWorkerThread& thread, void* pParam);

    CWorkerThread();
    ~CWorkerThread();

    // nStackSize: the stack to reserve, 0 for the program's default.
    bool Start(ThreadBody pBody, void* pParam, SIZE_T nStackSize = 0);
    bool IsRunning() const { return m_hThread != NULL; }

    // Signals the stop event; the body sees it through IsStopRequested or by
    // waiting on GetStopEvent. The owner then unblocks any I/O the body waits in.
    void RequestStop();
    // Waits up to nGraceMs for the body to return, still answering messages sent
    // to the calling thread's windows (the body may be inside SendMessage to us);
    // terminates the thread if it has not returned by then. Releases the thread.
    void WaitOrTerminate(DWORD nGraceMs);

    // Cheap enough to ask once per folder entry or file block.
    bool IsStopRequested() const { return m_bStopRequested.load(); }
    HANDLE GetStopEvent() const { return m_hStopEvent; }
    // Sleeps nMs unless a stop is requested first; returns false on a stop request.
    bool PauseUnlessStopped(DWORD nMs) const;

    // For code that runs on a worker without holding its CWorkerThread (controllers,
    // folder scans): the calling thread's own stop request. On a thread that is no
    // worker (the user-interface thread) there is never a stop request.
    static bool CurrentThreadStopRequested();
    // Sleeps nMs unless the calling worker is asked to stop; false on a stop request.
    static bool PauseCurrentThread(DWORD nMs);
    // WaitForInputIdle that gives up early when the calling worker is asked to stop.
    static void WaitForInputIdleUnlessStopped(HANDLE hProcess, DWORD nMs);

private:
    CWorkerThread(const CWorkerThread&);
    CWorkerThread& operator=(const CWorkerThread&);
    static DWORD WINAPI ThreadEntry(void* pSelf);

    HANDLE m_hThread;
    HANDLE m_hStopEvent;
    // Mirrors the event, so that frequent checks need no call into the system.
    std::atomic<bool> m_bStopRequested;
    ThreadBody m_pBody;
    void* m_pParam;
};

// A worker thread that is asked to stop through an event and then joined. It is
// never killed: a thread cut off could hold the heap's lock, a critical section or
// a handle. Every wait in a body ends on the stop event or has a deadline, so a
// join comes soon; one that is late is waited for still, never abandoned.
#pragma once
#include <windows.h>
#include <atomic>

class CWorkerThread
{
public:
    typedef void (*ThreadBody)(CWorkerThread& thread, void* pParam);

    // How long a body may take to return once asked to stop.
    static const DWORD STOP_DEADLINE_MS = 2000;

    CWorkerThread();
    // Asks a thread still running to stop and joins it, however long it takes.
    ~CWorkerThread();

    // nStackSize: the stack to reserve, 0 for the program's default.
    bool Start(ThreadBody pBody, void* pParam, SIZE_T nStackSize = 0);
    bool IsRunning() const { return m_hThread != NULL; }

    // Signals the stop event; the body sees it through IsStopRequested or by
    // waiting on GetStopEvent. The owner then unblocks any I/O the body waits in.
    void RequestStop();
    // Waits up to nMs (INFINITE: for as long as it takes) for the body to return,
    // still answering messages sent to the calling thread's windows (the body may
    // be inside SendMessage to us). True once it has ended; false when it is
    // still running, and still ours to join again.
    bool Join(DWORD nMs);

    // Cheap enough to ask once per folder entry or file block.
    bool IsStopRequested() const { return m_bStopRequested.load(); }
    HANDLE GetStopEvent() const { return m_hStopEvent; }
    // Sleeps nMs unless a stop is requested first; returns false on a stop request.
    bool PauseUnlessStopped(DWORD nMs) const;

    // For code that runs on a worker without holding its CWorkerThread (controllers,
    // folder scans): the calling thread's own stop request. On a thread that is no
    // worker (the user-interface thread) there is never a stop request.
    static bool CurrentThreadStopRequested();
    // The calling worker's stop event, for waits that must end on it; NULL on a
    // thread that is no worker.
    static HANDLE CurrentStopEvent();
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

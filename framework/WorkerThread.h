// A worker thread that is asked to stop through an event and, if it does not
// stop within a grace period, is terminated from outside: never inside a section
// marked with CNoTerminate, where that would leave a lock held or a handle lost.
#pragma once
#include <windows.h>
#include <atomic>

class CWorkerThread
{
public:
    typedef void (*ThreadBody)(CWorkerThread& thread, void* pParam);

    // bMayBeLeft: the object comes from new, and a thread that cannot be ended
    // may be left running; it then deletes the object itself when its body returns.
    explicit CWorkerThread(bool bMayBeLeft = false);
    ~CWorkerThread();

    // nStackSize: the stack to reserve, 0 for the program's default.
    bool Start(ThreadBody pBody, void* pParam, SIZE_T nStackSize = 0);
    bool IsRunning() const { return m_hThread != NULL; }

    // Signals the stop event; the body sees it through IsStopRequested or by
    // waiting on GetStopEvent. The owner then unblocks any I/O the body waits in.
    void RequestStop();
    // Waits up to nGraceMs for the body to return, still answering messages sent
    // to the calling thread's windows (the body may be inside SendMessage to us);
    // terminates the thread if it has not returned by then, once it is outside
    // every CNoTerminate section. True when the thread has ended. False when it
    // was left running (only with bMayBeLeft, after LEFT_AFTER_MS more inside a
    // section): the object then belongs to the thread; forget it, don't delete it.
    bool WaitOrTerminate(DWORD nGraceMs);
    // The same without ever terminating: for a body that may hold a lock or the
    // heap anywhere. Without bMayBeLeft it waits for as long as the body takes.
    bool WaitOrLeave(DWORD nGraceMs);

    // Marks a section of the calling worker that must not be cut off: holding a
    // lock others need, or a handle not yet stored where its owner will close it.
    class CNoTerminate
    {
    public:
        CNoTerminate();
        ~CNoTerminate();

    private:
        CNoTerminate(const CNoTerminate&);
        CNoTerminate& operator=(const CNoTerminate&);
        CWorkerThread* m_pWorker;
    };
    static const DWORD LEFT_AFTER_MS = 5000;

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
    // Waits for the thread, answering sent messages; true when it has ended.
    bool WaitAnswering(DWORD nMs);
    // Terminates the thread once it is outside every CNoTerminate section; false
    // when it is still inside one after nLimitMs.
    bool TerminateOutsideSections(DWORD nLimitMs);
    // Lets go of the thread handle; a thread that has not ended is left to end by itself.
    bool Release(bool bEnded);

    enum
    {
        THREAD_RUNNING,
        THREAD_ENDED, // the body has returned
        THREAD_LEFT   // the owner has let go of a thread it could not end
    };

    HANDLE m_hThread;
    HANDLE m_hStopEvent;
    // Mirrors the event, so that frequent checks need no call into the system.
    std::atomic<bool> m_bStopRequested;
    ThreadBody m_pBody;
    void* m_pParam;
    const bool m_bMayBeLeft;
    std::atomic<int> m_nSections;
    std::atomic<int> m_nState;
};

// Starting, stopping and (as a last resort) terminating worker threads.
#include "WorkerThread.h"

// The worker running on this thread, if any; set for the life of its body.
static thread_local CWorkerThread* t_pCurrentWorker = NULL;

CWorkerThread::CWorkerThread(bool bMayBeLeft)
    : m_hThread(NULL), m_hStopEvent(CreateEventA(NULL, TRUE, FALSE, NULL)), m_bStopRequested(false),
      m_pBody(NULL), m_pParam(NULL), m_bMayBeLeft(bMayBeLeft), m_nSections(0),
      m_nState(THREAD_ENDED)
{
}

CWorkerThread::~CWorkerThread()
{
    // Owners stop their threads first; this only guards against one that did not.
    if (m_hThread)
    {
        RequestStop();
        WaitAnswering(0);
        TerminateOutsideSections(INFINITE);
        CloseHandle(m_hThread);
    }
    if (m_hStopEvent)
        CloseHandle(m_hStopEvent);
}

bool CWorkerThread::Start(ThreadBody pBody, void* pParam, SIZE_T nStackSize)
{
    if (m_hThread || !m_hStopEvent)
        return false;
    ResetEvent(m_hStopEvent);
    m_bStopRequested = false;
    m_pBody = pBody;
    m_pParam = pParam;
    m_nState = THREAD_RUNNING;
    m_hThread = CreateThread(NULL, nStackSize, ThreadEntry, this,
                             nStackSize ? STACK_SIZE_PARAM_IS_A_RESERVATION : 0, NULL);
    if (!m_hThread)
        m_nState = THREAD_ENDED;
    return m_hThread != NULL;
}

DWORD WINAPI CWorkerThread::ThreadEntry(void* pSelf)
{
    CWorkerThread* pThread = static_cast<CWorkerThread*>(pSelf);
    t_pCurrentWorker = pThread;
    pThread->m_pBody(*pThread, pThread->m_pParam);
    t_pCurrentWorker = NULL;
    // Once ENDED is stored the owner may delete the object: nothing after touches it.
    if (pThread->m_nState.exchange(THREAD_ENDED) == THREAD_LEFT)
        delete pThread;
    return 0;
}

CWorkerThread::CNoTerminate::CNoTerminate() : m_pWorker(t_pCurrentWorker)
{
    if (m_pWorker)
        m_pWorker->m_nSections++;
}

CWorkerThread::CNoTerminate::~CNoTerminate()
{
    if (m_pWorker)
        m_pWorker->m_nSections--;
}

void CWorkerThread::RequestStop()
{
    m_bStopRequested = true;
    SetEvent(m_hStopEvent);
}

bool CWorkerThread::PauseUnlessStopped(DWORD nMs) const
{
    return WaitForSingleObject(m_hStopEvent, nMs) != WAIT_OBJECT_0;
}

bool CWorkerThread::CurrentThreadStopRequested()
{
    return t_pCurrentWorker && t_pCurrentWorker->IsStopRequested();
}

HANDLE CWorkerThread::CurrentStopEvent()
{
    return t_pCurrentWorker ? t_pCurrentWorker->m_hStopEvent : NULL;
}

bool CWorkerThread::PauseCurrentThread(DWORD nMs)
{
    if (!t_pCurrentWorker)
    {
        Sleep(nMs);
        return true;
    }
    return t_pCurrentWorker->PauseUnlessStopped(nMs);
}

void CWorkerThread::WaitForInputIdleUnlessStopped(HANDLE hProcess, DWORD nMs)
{
    // WaitForInputIdle takes no second object to wait on: wait in short slices.
    const DWORD SLICE_MS = 100;
    DWORD nStart = GetTickCount();
    for (;;)
    {
        DWORD nElapsed = GetTickCount() - nStart;
        if (nElapsed >= nMs || CurrentThreadStopRequested())
            return;
        DWORD nSlice = nMs - nElapsed < SLICE_MS ? nMs - nElapsed : SLICE_MS;
        if (WaitForInputIdle(hProcess, nSlice) != WAIT_TIMEOUT)
            return;
    }
}

bool CWorkerThread::WaitAnswering(DWORD nMs)
{
    DWORD nStart = GetTickCount();
    for (;;)
    {
        DWORD nElapsed = GetTickCount() - nStart;
        DWORD nLeft = nElapsed < nMs ? nMs - nElapsed : 0;
        DWORD nWait = MsgWaitForMultipleObjects(1, &m_hThread, FALSE, nLeft, QS_SENDMESSAGE);
        if (nWait == WAIT_OBJECT_0)
            return true;
        if (nWait != WAIT_OBJECT_0 + 1)
            return false;
        // Delivers the messages other threads are sending us; posted ones stay queued.
        MSG msg;
        PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool CWorkerThread::TerminateOutsideSections(DWORD nLimitMs)
{
    const DWORD RECHECK_MS = 10;
    DWORD nStart = GetTickCount();
    for (;;)
    {
        // Suspended, the thread cannot enter or leave a section while we look.
        if (SuspendThread(m_hThread) != static_cast<DWORD>(-1))
        {
            CONTEXT context = {};
            context.ContextFlags = CONTEXT_CONTROL;
            GetThreadContext(m_hThread, &context); // makes sure it has stopped
            if (m_nSections.load() == 0)
            {
                TerminateThread(m_hThread, 0);
                WaitForSingleObject(m_hThread, 1000);
                return true;
            }
            ResumeThread(m_hThread);
        }
        if (WaitAnswering(RECHECK_MS))
            return true;
        if (nLimitMs != INFINITE && GetTickCount() - nStart >= nLimitMs)
            return false;
    }
}

bool CWorkerThread::WaitOrTerminate(DWORD nGraceMs)
{
    if (!m_hThread)
        return true;
    bool bEnded = WaitAnswering(nGraceMs) ||
                  TerminateOutsideSections(m_bMayBeLeft ? LEFT_AFTER_MS : INFINITE);
    return Release(bEnded);
}

bool CWorkerThread::WaitOrLeave(DWORD nGraceMs)
{
    if (!m_hThread)
        return true;
    return Release(WaitAnswering(m_bMayBeLeft ? nGraceMs : INFINITE));
}

bool CWorkerThread::Release(bool bEnded)
{
    HANDLE hThread = m_hThread;
    m_hThread = NULL;
    // Once LEFT is stored the thread may delete this object at any moment; the
    // body may also have returned just now, after all.
    if (!bEnded && m_nState.exchange(THREAD_LEFT) == THREAD_ENDED)
        bEnded = true;
    CloseHandle(hThread);
    return bEnded;
}

// Starting, stopping and joining worker threads.
#include "WorkerThread.h"

// The worker running on this thread, if any; set for the life of its body.
static thread_local CWorkerThread* t_pCurrentWorker = NULL;

CWorkerThread::CWorkerThread()
    : m_hThread(NULL), m_hStopEvent(CreateEventA(NULL, TRUE, FALSE, NULL)), m_bStopRequested(false),
      m_pBody(NULL), m_pParam(NULL)
{
}

CWorkerThread::~CWorkerThread()
{
    // Owners join their threads first; this only guards against one that did not.
    if (m_hThread)
    {
        RequestStop();
        Join(INFINITE);
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
    m_hThread = CreateThread(NULL, nStackSize, ThreadEntry, this,
                             nStackSize ? STACK_SIZE_PARAM_IS_A_RESERVATION : 0, NULL);
    return m_hThread != NULL;
}

DWORD WINAPI CWorkerThread::ThreadEntry(void* pSelf)
{
    CWorkerThread* pThread = static_cast<CWorkerThread*>(pSelf);
    t_pCurrentWorker = pThread;
    pThread->m_pBody(*pThread, pThread->m_pParam);
    t_pCurrentWorker = NULL;
    return 0;
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

bool CWorkerThread::Join(DWORD nMs)
{
    if (!m_hThread)
        return true;
    DWORD nStart = GetTickCount();
    for (;;)
    {
        DWORD nLeft = INFINITE;
        if (nMs != INFINITE)
        {
            DWORD nElapsed = GetTickCount() - nStart;
            nLeft = nElapsed < nMs ? nMs - nElapsed : 0;
        }
        DWORD nWait = MsgWaitForMultipleObjects(1, &m_hThread, FALSE, nLeft, QS_SENDMESSAGE);
        if (nWait == WAIT_OBJECT_0)
            break;
        if (nWait != WAIT_OBJECT_0 + 1)
            return false;
        // Delivers the messages other threads are sending us; posted ones stay queued.
        MSG msg;
        PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(m_hThread);
    m_hThread = NULL;
    return true;
}

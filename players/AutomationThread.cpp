#include "AutomationThread.h"
#include "../framework/ScopedCom.h"

// How often a waiting caller looks whether its link worker is being stopped.
static const DWORD STOP_CHECK_MS = 100;
// Whether the caller of the operation running on this thread has stopped waiting.
static thread_local const std::atomic<bool>* t_pCallerGone = NULL;

CAutomationThread::CAutomationThread(OperationBody pBody, DroppedOperation pDropped, void* pOwner,
                                     AutomationApartment nApartment)
    : m_pBody(pBody), m_pDropped(pDropped), m_pOwner(pOwner), m_nApartment(nApartment),
      m_hWake(CreateEventA(NULL, FALSE, FALSE, NULL))
{
    InitializeCriticalSection(&m_lock);
}

CAutomationThread::~CAutomationThread()
{
    // Only when the owner did not call Finish: the thread must not outlive the queue.
    m_thread.RequestStop();
    m_thread.Join(INFINITE);
    for (size_t i = 0; i < m_queue.size(); i++)
        DropRequest(m_queue[i]);
    if (m_hWake)
        CloseHandle(m_hWake);
    DeleteCriticalSection(&m_lock);
}

CAutomationThread::Request* CAutomationThread::NewRequest(int nOperation, const char* pszFileName,
                                                          LONG nOwners)
{
    Request* pRequest = new Request();
    pRequest->nOperation = nOperation;
    pRequest->fileName = pszFileName ? pszFileName : "";
    pRequest->hDone = CreateEventA(NULL, TRUE, FALSE, NULL);
    pRequest->nOwners = nOwners;
    pRequest->bCallerGone = false;
    return pRequest;
}

void CAutomationThread::DropRequest(Request* pRequest)
{
    if (InterlockedDecrement(&pRequest->nOwners) != 0)
        return;
    if (pRequest->hDone)
        CloseHandle(pRequest->hDone);
    delete pRequest;
}

bool CAutomationThread::Run(int nOperation, const char* pszFileName, AutomationOutcome& outcome)
{
    Request* pRequest = NewRequest(nOperation, pszFileName, 2);
    const char* pszFailure = !pRequest->hDone         ? "CreateEvent"
                             : !Queue(pRequest, true) ? "CreateThread"
                                                      : NULL;
    if (pszFailure)
    {
        DWORD nError = GetLastError();
        Succeeded(nError ? HRESULT_FROM_WIN32(nError) : E_FAIL, pszFailure, outcome);
        pRequest->nOwners = 1;
        DropRequest(pRequest);
        return true;
    }
    bool bDone = WaitUnlessStopped(pRequest->hDone);
    if (bDone)
        outcome = pRequest->outcome;
    else
        pRequest->bCallerGone = true;
    DropRequest(pRequest);
    return bDone;
}

bool CAutomationThread::WaitUnlessStopped(HANDLE hDone)
{
    for (;;)
    {
        if (WaitForSingleObject(hDone, STOP_CHECK_MS) != WAIT_TIMEOUT)
            return true;
        if (CWorkerThread::CurrentThreadStopRequested())
            return false;
    }
}

bool CAutomationThread::CallerStopped()
{
    return (t_pCallerGone && t_pCallerGone->load()) || CWorkerThread::CurrentThreadStopRequested();
}

void CAutomationThread::Finish(int nLastOperation, DWORD nWaitMs, CControllerLog* pLateLog,
                               const char* pszApp)
{
    if (!m_thread.IsRunning())
        return;
    Queue(NewRequest(nLastOperation, NULL, 1), false);
    m_thread.RequestStop();
    if (m_thread.Join(nWaitMs))
        return;
    if (pLateLog)
        pLateLog->LogFormat("%s's automation thread is late to end; waiting for it\r\n",
                            pszApp ? pszApp : "The player");
    m_thread.Join(INFINITE);
}

bool CAutomationThread::Queue(Request* pRequest, bool bStart)
{
    EnterCriticalSection(&m_lock);
    bool bRunning = m_thread.IsRunning();
    if (!bRunning && bStart && m_hWake)
        bRunning = m_thread.Start(ServeRequests, this);
    if (bRunning)
        m_queue.push_back(pRequest);
    LeaveCriticalSection(&m_lock);
    if (bRunning)
        SetEvent(m_hWake);
    return bRunning;
}

CAutomationThread::Request* CAutomationThread::NextRequest()
{
    EnterCriticalSection(&m_lock);
    Request* pRequest = NULL;
    if (!m_queue.empty())
    {
        pRequest = m_queue.front();
        m_queue.pop_front();
    }
    LeaveCriticalSection(&m_lock);
    return pRequest;
}

void CAutomationThread::ServeRequests(CWorkerThread& thread, void* pSelf)
{
    CAutomationThread& self = *static_cast<CAutomationThread*>(pSelf);
    if (self.m_nApartment == APARTMENT_ENTERED_BY_OWNER)
    {
        self.ServeQueue(thread);
        return;
    }
    CScopedComInit com;
    self.ServeQueue(thread);
}

void CAutomationThread::ServeQueue(CWorkerThread& thread)
{
    for (;;)
    {
        Request* pRequest = NextRequest();
        if (pRequest)
        {
            // A PLAY or STOP from a link that was closed meanwhile would surprise
            // the user if it ran now.
            if (pRequest->bCallerGone)
                m_pDropped(m_pOwner, pRequest->nOperation);
            else
            {
                t_pCallerGone = &pRequest->bCallerGone;
                m_pBody(m_pOwner, pRequest->nOperation, pRequest->fileName.c_str(),
                        pRequest->outcome);
                t_pCallerGone = NULL;
            }
            SetEvent(pRequest->hDone);
            DropRequest(pRequest);
            continue;
        }
        if (thread.IsStopRequested())
            return;
        WaitForWork(thread.GetStopEvent());
    }
}

// Between requests the apartment answers the messages of COM's own windows.
void CAutomationThread::WaitForWork(HANDLE hStopEvent)
{
    HANDLE handles[2] = {m_hWake, hStopEvent};
    DWORD nWait =
        MsgWaitForMultipleObjectsEx(2, handles, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (nWait != WAIT_OBJECT_0 + 2)
        return;
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

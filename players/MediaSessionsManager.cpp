// Reaching the system's session manager, on the sessions' own thread, and
// letting it go at the end.
#include "MediaSessions.h"
#include "SessionSubscriptions.h"
#include "WinRtRuntime.h"

static const WCHAR MANAGER_CLASS[] =
    L"Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager";

// Is there a session manager? Asked at the first command, and after a failed
// or slow request again now and then (CSessionRetry); the first failure and
// the sessions' coming back are logged.
bool CMediaSessions::EnsureManager()
{
    if (!m_manager.IsEmpty())
        return true;
    if (IsAbsent())
        return false;
    const char* pszCall = NULL;
    HRESULT hr = ReachManager(&pszCall);
    EnterCriticalSection(&m_lock);
    bool bSay = SUCCEEDED(hr) ? m_retry.Succeeded() : m_retry.Failed(GetTickCount());
    LeaveCriticalSection(&m_lock);
    if (SUCCEEDED(hr))
    {
        if (bSay)
            m_log.LogFormat("Media sessions: available now\r\n");
        return true;
    }
    if (!bSay)
        return false;
    // Older systems (and Wine) have no such class; Windows 7 not even the runtime.
    if (!pszCall || hr == REGDB_E_CLASSNOTREG || hr == REGDB_E_READREGDB)
        m_log.LogFormat("Media sessions: not available on this system; using the media keys\r\n");
    else
        m_log.LogFormat(
            "Media sessions: couldn't reach the system's media sessions (%s failed with "
            "0x%08lX); using the media keys\r\n",
            pszCall, static_cast<unsigned long>(hr));
    return false;
}

HRESULT CMediaSessions::ReachManager(const char** ppszCall)
{
    const WinRtFunctions* pRt = WinRt();
    if (!pRt)
        return E_NOTIMPL;
    *ppszCall = "RoInitialize";
    // Once for the thread, however often the manager is asked for.
    HRESULT hr = m_bRoInitialized ? S_OK : pRt->RoInitialize(RT_INIT_MULTITHREADED);
    if (FAILED(hr))
        return hr;
    m_bRoInitialized = true;
    RtStringHeader header;
    RtString classId = NULL;
    *ppszCall = "WindowsCreateStringReference";
    hr = pRt->WindowsCreateStringReference(MANAGER_CLASS, ARRAYSIZE(MANAGER_CLASS) - 1, &header,
                                           &classId);
    if (FAILED(hr))
        return hr;
    CComRef<SmtcManagerStatics> statics;
    *ppszCall = "RoGetActivationFactory";
    hr = pRt->RoGetActivationFactory(classId, IID_SmtcManagerStatics, statics.ReceiveVoid());
    if (SUCCEEDED(hr) && statics.IsEmpty())
        hr = E_NOINTERFACE;
    if (FAILED(hr))
        return hr;
    CComRef<RtAsyncOperation> request;
    *ppszCall = "SessionManager.RequestAsync";
    hr = statics.Get()->pTable->RequestAsync(statics.Get(), request.Receive());
    if (SUCCEEDED(hr))
        hr = AwaitOperation(request.Get(), IID_ManagerCompleted, m_manager.Receive());
    if (SUCCEEDED(hr) && m_manager.IsEmpty())
        hr = E_POINTER;
    if (FAILED(hr))
        return hr;
    SmtcManager* pManager = m_manager.Get();
    Subscribe(pManager, pManager->pTable->add_CurrentSessionChanged,
              IID_CurrentSessionChangedHandler, ChangeArrived, this, STALE_SESSION,
              m_managerEvents[0]);
    Subscribe(pManager, pManager->pTable->add_SessionsChanged, IID_SessionsChangedHandler,
              ChangeArrived, this, STALE_SESSION, m_managerEvents[1]);
    return S_OK;
}

void CMediaSessions::ReleaseAll()
{
    UnwatchSession();
    SmtcManager* pManager = m_manager.Get();
    if (pManager)
    {
        Unsubscribe(pManager, pManager->pTable->remove_CurrentSessionChanged, m_managerEvents[0]);
        Unsubscribe(pManager, pManager->pTable->remove_SessionsChanged, m_managerEvents[1]);
    }
    m_properties.Reset();
    m_session.Reset();
    m_manager.Reset();
    if (m_bRoInitialized)
        WinRt()->RoUninitialize();
    m_bRoInitialized = false;
}

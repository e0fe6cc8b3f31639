#include "MediaSessions.h"
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include "SessionReading.h"
#include "WinRtObjects.h"
#include "WinRtRuntime.h"

// How old what was read may be when asked for again: players tell their
// position every few seconds, and some systems drop change events.
static const DWORD REREAD_AFTER_MS = 5000;
// How long the end of the server waits for the thread to let the system go.
static const DWORD RELEASE_WAIT_MS = 3000;
// Artwork is a thumbnail; anything larger is not read.
static const UINT64 ARTWORK_MAX_BYTES = 4 * 1024 * 1024;

static const WCHAR MANAGER_CLASS[] =
    L"Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager";

enum Operation
{
    OP_READ,
    OP_ARTWORK,
    OP_LIST,
    OP_RELEASE,
    OP_REQUEST // + SessionRequest
};

enum Availability
{
    SESSIONS_UNKNOWN,
    SESSIONS_PRESENT,
    SESSIONS_ABSENT
};

// What a change event says is out of date.
enum Stale
{
    STALE_SESSION = 1, // which session is driven
    STALE_PROPERTIES = 2,
    STALE_PLAYBACK = 4,
    STALE_TIMELINE = 8,
    STALE_ALL = 15
};

// For each SessionRequest: the flag that allows it, the call, what it asks (for the log).
static const SmtcControl s_requestControls[SESSION_REQUEST_COUNT] = {
    CONTROL_PLAY,    CONTROL_PAUSE,    CONTROL_STOP,
    CONTROL_NEXT,    CONTROL_PREVIOUS, CONTROL_PLAYBACK_POSITION,
    CONTROL_SHUFFLE, CONTROL_REPEAT};
static const char* const s_requestCalls[SESSION_REQUEST_COUNT] = {
    "Session.TryPlayAsync",
    "Session.TryPauseAsync",
    "Session.TryStopAsync",
    "Session.TrySkipNextAsync",
    "Session.TrySkipPreviousAsync",
    "Session.TryChangePlaybackPositionAsync",
    "Session.TryChangeShuffleActiveAsync",
    "Session.TryChangeAutoRepeatModeAsync"};
static const char* const s_requestNames[SESSION_REQUEST_COUNT] = {"play",
                                                                  "pause",
                                                                  "stop",
                                                                  "skip to the next track",
                                                                  "go back to the previous track",
                                                                  "seek",
                                                                  "change shuffle",
                                                                  "change repeat"};

template <class Source, class Add>
static void Subscribe(Source* pSource, Add pAdd, REFIID iid, ChangeCallback pCallback,
                      void* pContext, int nStale, SessionSubscription& subscription)
{
    RtEventHandler* pHandler = NewEventHandler(iid, pCallback, pContext, nStale);
    *subscription.handler.Receive() = pHandler;
    if (pHandler && FAILED(pAdd(pSource, pHandler, &subscription.nToken)))
    {
        DetachEventHandler(pHandler);
        subscription.handler.Reset();
    }
}

template <class Source, class Remove>
static void Unsubscribe(Source* pSource, Remove pRemove, SessionSubscription& subscription)
{
    if (subscription.handler.IsEmpty())
        return;
    pRemove(pSource, subscription.nToken);
    DetachEventHandler(subscription.handler.Get());
    subscription.handler.Reset();
}

static void LetGo(SessionSubscription* pEvents, size_t nCount)
{
    for (size_t i = 0; i < nCount; i++)
    {
        if (pEvents[i].handler.IsEmpty())
            continue;
        DetachEventHandler(pEvents[i].handler.Get());
        pEvents[i].handler.Detach();
    }
}

CMediaSessions::SessionState::SessionState()
    : bPresent(false), nStatus(SESSION_CLOSED), nControls(0), timeline(), fRate(1), nShuffle(-1),
      nRepeat(-1), nArtworkVersion(0)
{
}

CMediaSessions::CMediaSessions(CControllerLog& log)
    : m_log(log), m_nAvailability(SESSIONS_UNKNOWN), m_nStale(STALE_ALL), m_nChanges(0),
      m_nSessionChanges(0), m_hChanged(CreateEventA(NULL, FALSE, FALSE, NULL)), m_bEverRead(false),
      m_nReadAt(0), m_bAppsRead(false), m_nAppsReadAtChange(0), m_nAppsReadAt(0),
      m_nArtworkVersion(0), m_bArtworkRead(false), m_bRoInitialized(false),
      m_bReadFailureSaid(false),
      m_thread(RunOnThread, DroppedOnThread, this, APARTMENT_ENTERED_BY_OWNER)
{
    InitializeCriticalSection(&m_lock);
}

CMediaSessions::~CMediaSessions()
{
    m_thread.Finish(OP_RELEASE, RELEASE_WAIT_MS);
    // Still held only when the thread was ended from outside: no event may reach
    // us any more, and the references go with the apartment that held them.
    LetGo(m_managerEvents, ARRAYSIZE(m_managerEvents));
    LetGo(m_sessionEvents, ARRAYSIZE(m_sessionEvents));
    m_properties.Detach();
    m_session.Detach();
    m_manager.Detach();
    if (m_hChanged)
        CloseHandle(m_hChanged);
    DeleteCriticalSection(&m_lock);
}

bool CMediaSessions::IsAbsent() const
{
    return m_nAvailability.load() == SESSIONS_ABSENT;
}

bool CMediaSessions::IsFresh()
{
    if (m_nStale.load() != 0)
        return false;
    EnterCriticalSection(&m_lock);
    bool bFresh = m_bEverRead && GetTickCount() - m_nReadAt < REREAD_AFTER_MS;
    LeaveCriticalSection(&m_lock);
    return bFresh;
}

bool CMediaSessions::GetNowPlaying(NowPlaying& now)
{
    if (IsAbsent())
        return false;
    AutomationOutcome outcome;
    if (!IsFresh() && !m_thread.Run(OP_READ, NULL, outcome))
        return false;
    return CopyNowPlaying(now);
}

bool CMediaSessions::CopyNowPlaying(NowPlaying& now)
{
    EnterCriticalSection(&m_lock);
    SessionState state = m_published;
    LeaveCriticalSection(&m_lock);
    if (!state.bPresent)
        return false;
    FILETIME now1601;
    GetSystemTimeAsFileTime(&now1601);
    long long nNow = static_cast<long long>((static_cast<ULONGLONG>(now1601.dwHighDateTime) << 32) |
                                            now1601.dwLowDateTime);
    now.appId = state.appId;
    now.appName = AppNameOfId(state.appId);
    now.title = state.title;
    now.artist = state.artist;
    now.album = state.album;
    now.nState = PlayStateOfStatus(state.nStatus);
    double fRate = state.nStatus == SESSION_PLAYING ? state.fRate : 0;
    now.nPositionMs = LivePositionMs(state.timeline, fRate, nNow);
    now.nDurationMs = DurationMs(state.timeline);
    now.nShuffle = state.nShuffle;
    now.nRepeat = state.nRepeat;
    now.nArtworkVersion = state.nArtworkVersion;
    return true;
}

SessionRequestResult CMediaSessions::Request(SessionRequest request, int nArgument)
{
    if (IsAbsent())
        return REQUEST_PRESS_KEY;
    char szArgument[16];
    snprintf(szArgument, sizeof(szArgument), "%d", nArgument);
    AutomationOutcome outcome;
    if (!m_thread.Run(OP_REQUEST + request, szArgument, outcome))
        return REQUEST_NOT_DELIVERED;
    if (outcome.pszFailedCall)
    {
        m_log.LogFormat("Media sessions: couldn't %s (%s failed with 0x%08lX)\r\n",
                        s_requestNames[request], outcome.pszFailedCall,
                        static_cast<unsigned long>(outcome.hr));
        return REQUEST_NOT_DELIVERED;
    }
    return outcome.hr == S_FALSE ? REQUEST_PRESS_KEY : REQUEST_TAKEN;
}

bool CMediaSessions::GetArtwork(std::string* pBytes, std::wstring& contentType, unsigned& nVersion)
{
    NowPlaying now;
    if (!GetNowPlaying(now))
        return false;
    EnterCriticalSection(&m_lock);
    bool bRead = m_bArtworkRead && m_nArtworkVersion == now.nArtworkVersion;
    LeaveCriticalSection(&m_lock);
    AutomationOutcome outcome;
    if (!bRead && !m_thread.Run(OP_ARTWORK, NULL, outcome))
        return false;
    EnterCriticalSection(&m_lock);
    if (pBytes)
        *pBytes = m_artwork;
    bool bPresent = !m_artwork.empty();
    contentType = m_artworkType;
    nVersion = m_nArtworkVersion;
    LeaveCriticalSection(&m_lock);
    return bPresent;
}

// The page asks four times a second while it waits; the list changes rarely.
bool CMediaSessions::ListSessions(std::vector<SessionApp>& apps)
{
    if (IsAbsent())
        return false;
    EnterCriticalSection(&m_lock);
    bool bFresh = m_bAppsRead && m_nAppsReadAtChange == m_nSessionChanges.load() &&
                  GetTickCount() - m_nAppsReadAt < REREAD_AFTER_MS;
    LeaveCriticalSection(&m_lock);
    AutomationOutcome outcome;
    if (!bFresh && (!m_thread.Run(OP_LIST, NULL, outcome) || IsAbsent()))
        return false;
    EnterCriticalSection(&m_lock);
    apps = m_apps;
    LeaveCriticalSection(&m_lock);
    return true;
}

std::wstring CMediaSessions::ChosenApp()
{
    EnterCriticalSection(&m_lock);
    std::wstring chosen = m_chosenAppId;
    LeaveCriticalSection(&m_lock);
    return chosen;
}

void CMediaSessions::ChooseSession(const std::wstring& appId)
{
    EnterCriticalSection(&m_lock);
    m_chosenAppId = appId;
    LeaveCriticalSection(&m_lock);
    ChangeArrived(this, STALE_SESSION);
}

// On whatever thread the system raises the event: nothing is read here.
void CMediaSessions::ChangeArrived(void* pSelf, int nStale)
{
    CMediaSessions& self = *static_cast<CMediaSessions*>(pSelf);
    self.m_nStale.fetch_or(nStale);
    if (nStale & STALE_SESSION)
        self.m_nSessionChanges++;
    self.m_nChanges++;
    SetEvent(self.m_hChanged);
}

void CMediaSessions::RunOnThread(void* pSelf, int nOperation, const char* pszArgument,
                                 AutomationOutcome& outcome)
{
    CMediaSessions& self = *static_cast<CMediaSessions*>(pSelf);
    if (nOperation == OP_RELEASE)
    {
        self.ReleaseAll();
        return;
    }
    if (!self.EnsureManager())
    {
        outcome.hr = S_FALSE;
        return;
    }
    if (nOperation == OP_READ)
        self.Refresh(0);
    else if (nOperation == OP_ARTWORK)
        self.ReadArtwork();
    else if (nOperation == OP_LIST)
        self.ReadSessionList();
    else
        self.SendRequest(static_cast<SessionRequest>(nOperation - OP_REQUEST), atoi(pszArgument),
                         outcome);
}

// The first time: is there a session manager? Asked once; its absence is for good.
bool CMediaSessions::EnsureManager()
{
    if (!m_manager.IsEmpty())
        return true;
    if (IsAbsent())
        return false;
    const char* pszCall = NULL;
    HRESULT hr = ReachManager(&pszCall);
    if (SUCCEEDED(hr))
    {
        m_nAvailability = SESSIONS_PRESENT;
        return true;
    }
    m_nAvailability = SESSIONS_ABSENT;
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
    HRESULT hr = pRt->RoInitialize(RT_INIT_MULTITHREADED);
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

// Reads what is out of date, or everything when what was read has grown old.
void CMediaSessions::Refresh(int nStale)
{
    nStale |= m_nStale.exchange(0);
    int nChanged = nStale;
    if (!IsFresh())
        nStale |= STALE_ALL;
    AutomationOutcome outcome;
    if ((nStale & STALE_SESSION) && PickSession(outcome))
        nStale = nChanged = STALE_ALL;
    if (!m_session.IsEmpty())
    {
        // Each is read even when another fails: the phone still gets the rest.
        if (nStale & STALE_PROPERTIES)
            ReadProperties((nChanged & STALE_PROPERTIES) != 0, outcome);
        if (nStale & STALE_PLAYBACK)
            ReadPlayback(outcome);
        if (nStale & STALE_TIMELINE)
            ReadTimeline(outcome);
    }
    if (outcome.pszFailedCall)
        m_nStale.fetch_or(nStale);
    ReportReadFailure(outcome);
    Publish();
}

// The chosen app's session while it has one, else the system's current one.
// True when that is another session than before.
bool CMediaSessions::PickSession(AutomationOutcome& outcome)
{
    EnterCriticalSection(&m_lock);
    std::wstring chosen = m_chosenAppId;
    LeaveCriticalSection(&m_lock);
    CComRef<SmtcSession> session;
    // A choice is forgotten once its app has no session, not when the list failed.
    if (!chosen.empty() && !FindSession(chosen, session, outcome) && !outcome.pszFailedCall)
    {
        EnterCriticalSection(&m_lock);
        if (m_chosenAppId == chosen)
            m_chosenAppId.clear();
        LeaveCriticalSection(&m_lock);
    }
    SmtcManager* pManager = m_manager.Get();
    if (session.IsEmpty())
        Succeeded(pManager->pTable->GetCurrentSession(pManager, session.Receive()),
                  "SessionManager.GetCurrentSession", outcome);
    if (SameRtObject(session.Get(), m_session.Get()))
        return false;
    UnwatchSession();
    m_session.Assign(session.Get());
    m_properties.Reset();
    unsigned nArtworkVersion = m_read.nArtworkVersion + 1;
    m_read = SessionState();
    m_read.nArtworkVersion = nArtworkVersion;
    if (m_session.IsEmpty())
        return true;
    m_read.bPresent = true;
    m_read.appId = AppIdOf(m_session.Get());
    WatchSession();
    return true;
}

bool CMediaSessions::GetSessionList(CComRef<SmtcSessionList>& list, UINT32& nCount,
                                    AutomationOutcome& outcome)
{
    nCount = 0;
    SmtcManager* pManager = m_manager.Get();
    HRESULT hr = pManager->pTable->GetSessions(pManager, list.Receive());
    if (SUCCEEDED(hr) && !list.IsEmpty())
        hr = list.Get()->pTable->get_Size(list.Get(), &nCount);
    return Succeeded(hr, "SessionManager.GetSessions", outcome);
}

bool CMediaSessions::FindSession(const std::wstring& appId, CComRef<SmtcSession>& session,
                                 AutomationOutcome& outcome)
{
    CComRef<SmtcSessionList> list;
    UINT32 nCount = 0;
    if (!GetSessionList(list, nCount, outcome))
        return false;
    for (UINT32 i = 0; i < nCount; i++)
    {
        if (FAILED(list.Get()->pTable->GetAt(list.Get(), i, session.Receive())) ||
            session.IsEmpty())
            continue;
        if (AppIdOf(session.Get()) == appId)
            return true;
    }
    session.Reset();
    return false;
}

void CMediaSessions::WatchSession()
{
    SmtcSession* pSession = m_session.Get();
    const SmtcSessionTable* pTable = pSession->pTable;
    Subscribe(pSession, pTable->add_MediaPropertiesChanged, IID_MediaPropertiesChangedHandler,
              ChangeArrived, this, STALE_PROPERTIES, m_sessionEvents[0]);
    Subscribe(pSession, pTable->add_PlaybackInfoChanged, IID_PlaybackInfoChangedHandler,
              ChangeArrived, this, STALE_PLAYBACK, m_sessionEvents[1]);
    Subscribe(pSession, pTable->add_TimelinePropertiesChanged, IID_TimelinePropertiesChangedHandler,
              ChangeArrived, this, STALE_TIMELINE, m_sessionEvents[2]);
}

void CMediaSessions::UnwatchSession()
{
    SmtcSession* pSession = m_session.Get();
    if (!pSession)
        return;
    const SmtcSessionTable* pTable = pSession->pTable;
    Unsubscribe(pSession, pTable->remove_MediaPropertiesChanged, m_sessionEvents[0]);
    Unsubscribe(pSession, pTable->remove_PlaybackInfoChanged, m_sessionEvents[1]);
    Unsubscribe(pSession, pTable->remove_TimelinePropertiesChanged, m_sessionEvents[2]);
}

// The artwork goes with the properties: its version moves on when they change,
// or when an event says they did (the picture may be all that changed).
bool CMediaSessions::ReadProperties(bool bArtworkMayChange, AutomationOutcome& outcome)
{
    SmtcSession* pSession = m_session.Get();
    CComRef<RtAsyncOperation> read;
    CComRef<SmtcMediaProperties> properties;
    HRESULT hr = pSession->pTable->TryGetMediaPropertiesAsync(pSession, read.Receive());
    if (SUCCEEDED(hr))
        hr = AwaitOperation(read.Get(), IID_PropertiesCompleted, properties.Receive());
    if (!Succeeded(hr, "Session.TryGetMediaPropertiesAsync", outcome))
        return false;
    std::wstring title, artist, album;
    SmtcMediaProperties* pProperties = properties.Get();
    if (pProperties)
    {
        title = ReadText(pProperties, pProperties->pTable->get_Title);
        artist = ReadText(pProperties, pProperties->pTable->get_Artist);
        album = ReadText(pProperties, pProperties->pTable->get_AlbumTitle);
    }
    if (bArtworkMayChange || title != m_read.title || artist != m_read.artist ||
        album != m_read.album)
        m_read.nArtworkVersion++;
    m_read.title = title;
    m_read.artist = artist;
    m_read.album = album;
    m_properties.Assign(pProperties);
    return true;
}

bool CMediaSessions::ReadPlayback(AutomationOutcome& outcome)
{
    SmtcSession* pSession = m_session.Get();
    CComRef<SmtcPlaybackInfo> info;
    HRESULT hr = pSession->pTable->GetPlaybackInfo(pSession, info.Receive());
    INT32 nStatus = SESSION_CLOSED;
    SmtcPlaybackInfo* pInfo = info.Get();
    if (SUCCEEDED(hr) && pInfo)
        hr = pInfo->pTable->get_PlaybackStatus(pInfo, &nStatus);
    if (!Succeeded(hr, "Session.GetPlaybackInfo", outcome))
        return false;
    CComRef<SmtcControls> controls;
    CComRef<RtReference> shuffle, repeat, rate;
    if (pInfo)
    {
        pInfo->pTable->get_Controls(pInfo, controls.Receive());
        pInfo->pTable->get_IsShuffleActive(pInfo, shuffle.Receive());
        pInfo->pTable->get_AutoRepeatMode(pInfo, repeat.Receive());
        pInfo->pTable->get_PlaybackRate(pInfo, rate.Receive());
    }
    m_read.nStatus = nStatus;
    m_read.nControls = ReadControls(controls.Get());
    m_read.fRate = ReadRate(rate.Get());
    m_read.nShuffle = ReadBoolReference(shuffle.Get());
    m_read.nRepeat = ReadEnumReference(repeat.Get());
    return true;
}

bool CMediaSessions::ReadTimeline(AutomationOutcome& outcome)
{
    SmtcSession* pSession = m_session.Get();
    CComRef<SmtcTimeline> timeline;
    HRESULT hr = pSession->pTable->GetTimelineProperties(pSession, timeline.Receive());
    if (!Succeeded(hr, "Session.GetTimelineProperties", outcome))
        return false;
    SessionTimeline read = {};
    SmtcTimeline* pTimeline = timeline.Get();
    if (pTimeline)
    {
        pTimeline->pTable->get_StartTime(pTimeline, &read.nStart);
        pTimeline->pTable->get_EndTime(pTimeline, &read.nEnd);
        pTimeline->pTable->get_Position(pTimeline, &read.nPosition);
        pTimeline->pTable->get_LastUpdatedTime(pTimeline, &read.nUpdatedAt);
    }
    m_read.timeline = read;
    return true;
}

void CMediaSessions::Publish()
{
    EnterCriticalSection(&m_lock);
    m_published = m_read;
    m_bEverRead = true;
    m_nReadAt = GetTickCount();
    LeaveCriticalSection(&m_lock);
}

// Said once until a read succeeds again: the page asks several times a second.
void CMediaSessions::ReportReadFailure(const AutomationOutcome& outcome)
{
    if (!outcome.pszFailedCall)
    {
        m_bReadFailureSaid = false;
        return;
    }
    if (m_bReadFailureSaid)
        return;
    m_bReadFailureSaid = true;
    m_log.LogFormat("Media sessions: couldn't read the media session (%s failed with 0x%08lX)\r\n",
                    outcome.pszFailedCall, static_cast<unsigned long>(outcome.hr));
}

// S_FALSE in the outcome: the key is to stand in. Whether the app allows the
// request is read afresh: apps allow Play only while paused, and so on.
void CMediaSessions::SendRequest(SessionRequest request, int nArgument, AutomationOutcome& outcome)
{
    Refresh(STALE_PLAYBACK);
    if (m_session.IsEmpty() || !(m_read.nControls & (1u << s_requestControls[request])))
    {
        outcome.hr = S_FALSE;
        return;
    }
    SmtcSession* pSession = m_session.Get();
    const SmtcSessionTable* pTable = pSession->pTable;
    CComRef<RtAsyncOperation> done;
    RtAsyncOperation** ppDone = done.Receive();
    HRESULT hr = E_INVALIDARG;
    switch (request)
    {
    case SESSION_PLAY:
        hr = pTable->TryPlayAsync(pSession, ppDone);
        break;
    case SESSION_PAUSE:
        hr = pTable->TryPauseAsync(pSession, ppDone);
        break;
    case SESSION_STOP:
        hr = pTable->TryStopAsync(pSession, ppDone);
        break;
    case SESSION_NEXT:
        hr = pTable->TrySkipNextAsync(pSession, ppDone);
        break;
    case SESSION_PREVIOUS:
        hr = pTable->TrySkipPreviousAsync(pSession, ppDone);
        break;
    case SESSION_SEEK:
        hr = pTable->TryChangePlaybackPositionAsync(pSession, SeekTicks(nArgument, m_read.timeline),
                                                    ppDone);
        break;
    case SESSION_SHUFFLE:
        hr = pTable->TryChangeShuffleActiveAsync(pSession, nArgument ? 1 : 0, ppDone);
        break;
    case SESSION_REPEAT:
        hr = pTable->TryChangeAutoRepeatModeAsync(
            pSession, nArgument ? SESSION_REPEAT_LIST : SESSION_REPEAT_NONE, ppDone);
        break;
    default:
        break;
    }
    RtBool bTaken = 0;
    if (SUCCEEDED(hr))
        hr = AwaitOperation(done.Get(), IID_BoolCompleted, &bTaken);
    if (Succeeded(hr, s_requestCalls[request], outcome))
        outcome.hr = bTaken ? S_OK : S_FALSE;
}

void CMediaSessions::ReadArtwork()
{
    Refresh(0);
    std::string bytes;
    std::wstring contentType;
    AutomationOutcome outcome;
    if (!m_properties.IsEmpty())
        ReadThumbnail(bytes, contentType, outcome);
    if (outcome.pszFailedCall)
    {
        bytes.clear();
        m_log.LogFormat("Media sessions: couldn't read the artwork (%s failed with 0x%08lX)\r\n",
                        outcome.pszFailedCall, static_cast<unsigned long>(outcome.hr));
    }
    EnterCriticalSection(&m_lock);
    m_artwork.swap(bytes);
    m_artworkType = contentType;
    m_nArtworkVersion = m_read.nArtworkVersion;
    m_bArtworkRead = true;
    LeaveCriticalSection(&m_lock);
}

void CMediaSessions::ReadThumbnail(std::string& bytes, std::wstring& contentType,
                                   AutomationOutcome& outcome)
{
    SmtcMediaProperties* pProperties = m_properties.Get();
    CComRef<RtStreamReference> thumbnail;
    HRESULT hr = pProperties->pTable->get_Thumbnail(pProperties, thumbnail.Receive());
    if (!Succeeded(hr, "MediaProperties.Thumbnail", outcome) || thumbnail.IsEmpty())
        return;
    CComRef<RtAsyncOperation> open;
    CComRef<IUnknown> stream;
    hr = thumbnail.Get()->pTable->OpenReadAsync(thumbnail.Get(), open.Receive());
    if (SUCCEEDED(hr))
        hr = AwaitOperation(open.Get(), IID_StreamCompleted, stream.Receive());
    if (!Succeeded(hr, "Thumbnail.OpenReadAsync", outcome) || stream.IsEmpty())
        return;
    contentType = ReadContentType(stream.Get());
    ReadWholeStream(stream.Get(), ARTWORK_MAX_BYTES, bytes, outcome);
    CComRef<RtClosable> closable;
    if (SUCCEEDED(QueryRt(stream.Get(), IID_RtClosable, closable.ReceiveVoid())))
        closable.Get()->pTable->Close(closable.Get());
}

void CMediaSessions::ReadSessionList()
{
    // Counted before the reading: a change during it makes the next question read again.
    LONG nChanges = m_nSessionChanges.load();
    Refresh(0);
    std::vector<SessionApp> apps;
    AutomationOutcome outcome;
    CComRef<SmtcSessionList> list;
    UINT32 nCount = 0;
    GetSessionList(list, nCount, outcome);
    for (UINT32 i = 0; i < nCount; i++)
    {
        CComRef<SmtcSession> session;
        if (FAILED(list.Get()->pTable->GetAt(list.Get(), i, session.Receive())) ||
            session.IsEmpty())
            continue;
        SessionApp app;
        app.appId = AppIdOf(session.Get());
        app.appName = AppNameOfId(app.appId);
        app.bDriven = SameRtObject(session.Get(), m_session.Get());
        apps.push_back(app);
    }
    ReportReadFailure(outcome);
    EnterCriticalSection(&m_lock);
    m_apps.swap(apps);
    m_bAppsRead = !outcome.pszFailedCall;
    m_nAppsReadAtChange = nChanges;
    m_nAppsReadAt = GetTickCount();
    LeaveCriticalSection(&m_lock);
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

// Reading the driven session, the list of sessions and the artwork, on the
// sessions' own thread, and publishing what was read to the callers.
#include "MediaSessions.h"
#include "SessionReading.h"
#include "SessionSubscriptions.h"
#include "WinRtRuntime.h"

// Artwork is a thumbnail; anything larger is not read.
static const UINT64 ARTWORK_MAX_BYTES = 4 * 1024 * 1024;

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

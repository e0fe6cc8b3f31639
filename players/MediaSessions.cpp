// The media sessions as their callers see them: what was read, shared under a
// lock, and the operations handed to the sessions' own thread.
#include "MediaSessions.h"
#include <stdio.h>
#include <stdlib.h>
#include "SessionReading.h"
#include "SessionSubscriptions.h"

// How old what was read may be when asked for again: players tell their
// position every few seconds, and some systems drop change events.
static const DWORD REREAD_AFTER_MS = 5000;
// How long the end of the server waits for the thread to let the system go.
static const DWORD RELEASE_WAIT_MS = 3000;

static const char* const s_requestNames[SESSION_REQUEST_COUNT] = {"play",
                                                                  "pause",
                                                                  "stop",
                                                                  "skip to the next track",
                                                                  "go back to the previous track",
                                                                  "seek",
                                                                  "change shuffle",
                                                                  "change repeat"};

CMediaSessions::SessionState::SessionState()
    : bPresent(false), nStatus(SESSION_CLOSED), nControls(0), timeline(), fRate(1), nShuffle(-1),
      nRepeat(-1), nArtworkVersion(0)
{
}

CMediaSessions::CMediaSessions(CControllerLog& log)
    : m_log(log), m_nStale(STALE_ALL), m_nChanges(0), m_nSessionChanges(0),
      m_hChanged(CreateEventA(NULL, FALSE, FALSE, NULL)), m_bEverRead(false), m_nReadAt(0),
      m_bAppsRead(false), m_nAppsReadAtChange(0), m_nAppsReadAt(0), m_nArtworkVersion(0),
      m_bArtworkRead(false), m_bRoInitialized(false), m_bReadFailureSaid(false),
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

// The media keys stand in while the sessions are missing and it is not yet time
// to ask for them again.
bool CMediaSessions::IsAbsent()
{
    EnterCriticalSection(&m_lock);
    bool bAbsent = !m_retry.IsDue(GetTickCount());
    LeaveCriticalSection(&m_lock);
    return bAbsent;
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

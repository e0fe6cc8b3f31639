#include "WebStateWatch.h"
#include <stdio.h>
#include "AnsiText.h"
#include "ImageType.h"
#include "../core/ServerCore.h"
#include "../core/WorkerJoin.h"
#include "../framework/ScopedCom.h"
#include "../framework/ScopedHandle.h"

CWebStateWatch::CWebStateWatch(CServerCore& core, HANDLE hCommandMutex)
    : m_core(core), m_hCommandMutex(hCommandMutex), m_hPoke(CreateEventA(NULL, FALSE, FALSE, NULL)),
      m_pThread(NULL), m_nReadAt(0), m_nVersion(0), m_nReads(0), m_nWatchers(0),
      m_bNewWatcher(false)
{
    InitializeCriticalSection(&m_lock);
    m_state.status = WebStatus();
    m_state.status.nVolume = -1;
    m_state.nKind = -1;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    char szEpoch[24];
    snprintf(szEpoch, sizeof(szEpoch), "%08lx%08lx", static_cast<unsigned long>(now.dwHighDateTime),
             static_cast<unsigned long>(now.dwLowDateTime));
    m_artworkEpoch = szEpoch;
}

CWebStateWatch::~CWebStateWatch()
{
    Stop();
    DeleteCriticalSection(&m_lock);
    if (m_hPoke)
        CloseHandle(m_hPoke);
}

bool CWebStateWatch::Start()
{
    Stop();
    m_pThread = new CWorkerThread();
    return m_hPoke && m_pThread->Start(WatchThread, this);
}

// Joined before our lock and events go: its waits end on the stop event, and a
// reading of the player ends within the player's deadline.
void CWebStateWatch::Stop()
{
    if (!m_pThread)
        return;
    m_pThread->RequestStop();
    JoinWorker(*m_pThread, "web remote's state watch", m_core);
    delete m_pThread;
    m_pThread = NULL;
}

void CWebStateWatch::Poke()
{
    // Nobody watches: no reading is needed, and the watch thread sleeps on.
    EnterCriticalSection(&m_lock);
    bool bWatched = m_nWatchers > 0;
    LeaveCriticalSection(&m_lock);
    if (bWatched)
        SetEvent(m_hPoke);
}

void CWebStateWatch::WatchThread(CWorkerThread& thread, void* pParam)
{
    CWebStateWatch& watch = *static_cast<CWebStateWatch*>(pParam);
    // For the life of the thread: the system volume, read four times a second,
    // would otherwise load and unload its COM server with every reading.
    CScopedComInit com;
    HANDLE waits[3] = {thread.GetStopEvent(), watch.m_hPoke, NULL};
    DWORD nReadMs = GetTickCount() - WATCH_GAP_MS;
    while (!thread.IsStopRequested())
    {
        // Reads hold the command mutex: a page's quick run of actions (a slider
        // dragged) waits behind one reading at most every WATCH_GAP_MS, not after each.
        DWORD nSinceRead = GetTickCount() - nReadMs;
        if (nSinceRead < WATCH_GAP_MS &&
            WaitForSingleObject(thread.GetStopEvent(), WATCH_GAP_MS - nSinceRead) == WAIT_OBJECT_0)
            break;
        EnterCriticalSection(&watch.m_lock);
        bool bWatched = watch.m_nWatchers > 0;
        LeaveCriticalSection(&watch.m_lock);
        // Nobody watches: nothing is read until a channel asks (and pokes), not even
        // for the application's changes. The active one may be another each time.
        waits[2] = bWatched ? watch.m_core.ChangeEvent() : NULL;
        DWORD nWait = WaitForMultipleObjects(waits[2] ? 3 : 2, waits, FALSE,
                                             bWatched ? WATCH_PERIOD_MS : INFINITE);
        if (nWait == WAIT_OBJECT_0)
            break;
        nReadMs = GetTickCount();
        watch.ReadOnce(thread);
    }
}

bool CWebStateWatch::ReadState(const CWorkerThread& thread, WatchedState* pState)
{
    // A page's command stuck that long in the player: this reading is skipped,
    // and the pages keep the state they have.
    HANDLE waits[2] = {m_hCommandMutex, thread.GetStopEvent()};
    DWORD nWait = WaitForMultipleObjects(2, waits, FALSE, WATCH_LOCK_WAIT_MS);
    if (nWait != WAIT_OBJECT_0 && nWait != WAIT_ABANDONED_0)
        return false;
    *pState = ReadNow();
    ReleaseMutex(m_hCommandMutex);
    return true;
}

WatchedState CWebStateWatch::ReadNow()
{
    WatchedState state = WatchedState();
    state.nKind = m_core.ActiveKind();
    PlayerStatus status = m_core.Status(false);
    state.status.nState = status.nState;
    state.status.nLength = status.nLength;
    state.status.nPosition = status.nPosition;
    state.status.nShuffle = status.nShuffle;
    state.status.nRepeat = status.nRepeat;
    state.status.title = status.szTitle;
    state.status.nVolume = m_core.Volume();
    state.status.media = m_core.Details();
    // Artwork the page may not be sent is none.
    if (!ServedImageType(state.status.media.artworkType).empty())
        state.status.art = ArtworkKey(state.status.media.nArtworkVersion);
    return state;
}

std::string CWebStateWatch::ArtworkKey(unsigned nVersion) const
{
    return m_artworkEpoch + "-" + std::to_string(nVersion);
}

void CWebStateWatch::ReadOnce(const CWorkerThread& thread)
{
    WatchedState now;
    if (!ReadState(thread, &now) || thread.IsStopRequested())
        return;
    EnterCriticalSection(&m_lock);
    DWORD nNow = GetTickCount();
    bool bChange = m_nReads == 0 || IsStateChange(m_state, now, nNow - m_nReadAt);
    if (bChange)
        m_nVersion++;
    m_state = now;
    m_nReadAt = nNow;
    m_nReads++;
    // The watchers look again on a change; a new one also wants its first reading.
    for (int i = 0; (bChange || m_bNewWatcher) && i < m_nWatchers; i++)
        SetEvent(m_watchers[i]);
    m_bNewWatcher = false;
    LeaveCriticalSection(&m_lock);
}

bool CWebStateWatch::AddWatcher(HANDLE hWake, unsigned* pnReadsBefore)
{
    EnterCriticalSection(&m_lock);
    bool bAdded = m_nWatchers < MAX_WATCHERS;
    if (bAdded)
        m_watchers[m_nWatchers++] = hWake;
    m_bNewWatcher = m_bNewWatcher || bAdded;
    *pnReadsBefore = m_nReads;
    LeaveCriticalSection(&m_lock);
    if (bAdded)
        SetEvent(m_hPoke);
    return bAdded;
}

void CWebStateWatch::RemoveWatcher(HANDLE hWake)
{
    EnterCriticalSection(&m_lock);
    for (int i = 0; i < m_nWatchers; i++)
    {
        if (m_watchers[i] != hWake)
            continue;
        m_watchers[i] = m_watchers[--m_nWatchers];
        break;
    }
    LeaveCriticalSection(&m_lock);
}

static std::string ToUtf8(const std::string& ansi)
{
    return Utf8FromAnsi(ansi);
}

bool CWebStateWatch::TakeChange(unsigned nReadsBefore, long long* pnSeen, std::string* pJson)
{
    EnterCriticalSection(&m_lock);
    bool bTaken = m_nReads != nReadsBefore && m_nVersion != *pnSeen;
    WatchedState state = m_state;
    long long nVersion = m_nVersion;
    LeaveCriticalSection(&m_lock);
    if (!bTaken)
        return false;
    *pnSeen = nVersion;
    *pJson = StatusJson(state.status, state.nKind, nVersion, ToUtf8);
    return true;
}

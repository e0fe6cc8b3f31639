#include "WebStateWatch.h"
#include <stdio.h>
#include "AnsiText.h"
#include "ImageType.h"
#include "WebConnection.h"
#include "../core/ServerCore.h"
#include "../core/WorkerJoin.h"
#include "../framework/ScopedCom.h"
#include "../framework/ScopedHandle.h"

CWebStateWatch::CWebStateWatch(CServerCore& core, HANDLE hCommandMutex)
    : m_core(core), m_hCommandMutex(hCommandMutex), m_hPoke(CreateEventA(NULL, FALSE, FALSE, NULL)),
      m_pThread(NULL), m_nReadAt(0), m_nVersion(0), m_nReads(0), m_nPairingChanges(0),
      m_nWaiters(0), m_bNewWaiter(false)
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
    // Nobody waits: no reading is needed, and the watch thread sleeps on.
    EnterCriticalSection(&m_lock);
    bool bWatched = m_nWaiters > 0;
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
    while (!thread.IsStopRequested())
    {
        EnterCriticalSection(&watch.m_lock);
        bool bWatched = watch.m_nWaiters > 0;
        LeaveCriticalSection(&watch.m_lock);
        // Nobody waits: nothing is read until a page asks (and pokes), not even
        // for the application's changes. The active one may be another each time.
        waits[2] = bWatched ? watch.m_core.ChangeEvent() : NULL;
        DWORD nWait = WaitForMultipleObjects(waits[2] ? 3 : 2, waits, FALSE,
                                             bWatched ? WATCH_PERIOD_MS : INFINITE);
        if (nWait == WAIT_OBJECT_0)
            break;
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
    // The waiters look again on a change; a new one also wants its first reading.
    for (int i = 0; (bChange || m_bNewWaiter) && i < m_nWaiters; i++)
        SetEvent(m_waiters[i]);
    m_bNewWaiter = false;
    LeaveCriticalSection(&m_lock);
}

void CWebStateWatch::PairingsChanged()
{
    EnterCriticalSection(&m_lock);
    m_nPairingChanges++;
    for (int i = 0; i < m_nWaiters; i++)
        SetEvent(m_waiters[i]);
    LeaveCriticalSection(&m_lock);
}

unsigned CWebStateWatch::PairingChanges()
{
    EnterCriticalSection(&m_lock);
    unsigned nChanges = m_nPairingChanges;
    LeaveCriticalSection(&m_lock);
    return nChanges;
}

bool CWebStateWatch::AddWaiter(HANDLE hWake)
{
    EnterCriticalSection(&m_lock);
    bool bAdded = m_nWaiters < MAX_WAITERS;
    if (bAdded)
        m_waiters[m_nWaiters++] = hWake;
    m_bNewWaiter = m_bNewWaiter || bAdded;
    LeaveCriticalSection(&m_lock);
    return bAdded;
}

void CWebStateWatch::RemoveWaiter(HANDLE hWake)
{
    EnterCriticalSection(&m_lock);
    for (int i = 0; i < m_nWaiters; i++)
    {
        if (m_waiters[i] != hWake)
            continue;
        m_waiters[i] = m_waiters[--m_nWaiters];
        break;
    }
    LeaveCriticalSection(&m_lock);
}

static std::string ToUtf8(const std::string& ansi)
{
    return Utf8FromAnsi(ansi);
}

bool CWebStateWatch::TakeIfChanged(long long nSince, unsigned nReadsBefore, std::string* pJson)
{
    EnterCriticalSection(&m_lock);
    bool bTaken = nSince == ANY_VERSION || (m_nReads != nReadsBefore && m_nVersion != nSince);
    WatchedState state = m_state;
    long long nVersion = m_nVersion;
    LeaveCriticalSection(&m_lock);
    if (bTaken)
        *pJson = StatusJson(state.status, state.nKind, nVersion, ToUtf8);
    return bTaken;
}

std::string CWebStateWatch::WaitForChange(long long nSince, CWebConnection& connection,
                                          const std::function<bool()>& isStillPaired,
                                          bool* pbUnpaired)
{
    *pbUnpaired = false;
    CScopedHandle wake(CreateEventA(NULL, FALSE, FALSE, NULL));
    if (!wake.IsValid())
        return std::string();
    EnterCriticalSection(&m_lock);
    unsigned nReadsBefore = m_nReads;
    unsigned nPairingsSeen = m_nPairingChanges;
    LeaveCriticalSection(&m_lock);
    if (!AddWaiter(wake.Get()))
        return std::string();
    Poke();
    std::string json;
    DWORD nStart = GetTickCount();
    bool bWaiting = true;
    while (bWaiting && !TakeIfChanged(nSince, nReadsBefore, &json))
    {
        unsigned nPairings = PairingChanges();
        if (nPairings != nPairingsSeen && !isStillPaired())
        {
            *pbUnpaired = true;
            break;
        }
        nPairingsSeen = nPairings;
        DWORD nElapsed = GetTickCount() - nStart;
        if (nElapsed >= LONG_POLL_MS)
            bWaiting = false;
        else if (!connection.WaitForWake(wake.Get(), LONG_POLL_MS - nElapsed))
            break;
    }
    RemoveWaiter(wake.Get());
    // Nothing changed in time: the state as it is, with the version the page has.
    if (json.empty() && !bWaiting)
        TakeIfChanged(ANY_VERSION, 0, &json);
    return json;
}

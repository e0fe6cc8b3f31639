// What is playing, watched for the pages that wait for a change (long-poll).
// While a page waits, a thread reads the active controller's status directly,
// every WATCH_PERIOD_MS, at once after every action of the page and when the
// application tells of a change; no command runs for it, so it never starts
// the media application. Each change gets a new version number; a waiting
// page is answered as soon as the version differs from the one it has.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include "StatusChange.h"
#include "../framework/WorkerThread.h"

class CServerCore;
class CWebConnection;

const DWORD WATCH_PERIOD_MS = 250;
// The longest wait for the command lock before a reading is skipped.
const DWORD WATCH_LOCK_WAIT_MS = 5000;
// A page's wait is answered after this long even when nothing changed.
const DWORD LONG_POLL_MS = 25000;

class CWebStateWatch
{
public:
    // hCommandMutex: held while the status is read, as while a page's command runs.
    CWebStateWatch(CServerCore& core, HANDLE hCommandMutex);
    ~CWebStateWatch();

    bool Start();
    void Stop();
    // Reads again at once: after an action, the state the page waits for may have changed.
    void Poke();
    // The state as it is now; the caller holds the command mutex.
    WatchedState ReadNow();
    // What the page puts in the artwork's address for this version: it names
    // one picture for good, also across restarts of the server (browsers keep it).
    std::string ArtworkKey(unsigned nVersion) const;
    // Wakes every waiting page to ask isStillPaired again: a browser was removed.
    void PairingsChanged();
    // The state as JSON once a reading taken after the call differs from
    // nSince (or LONG_POLL_MS passed); empty when the browser went away, the
    // listener stops, or the pairings changed and isStillPaired says no
    // (*pbUnpaired).
    std::string WaitForChange(long long nSince, CWebConnection& connection,
                              const std::function<bool()>& isStillPaired, bool* pbUnpaired);

private:
    CWebStateWatch(const CWebStateWatch&);
    CWebStateWatch& operator=(const CWebStateWatch&);
    static void WatchThread(CWorkerThread& thread, void* pParam);
    void ReadOnce(const CWorkerThread& thread);
    // False when the command lock was not had within WATCH_LOCK_WAIT_MS.
    bool ReadState(const CWorkerThread& thread, WatchedState* pState);
    unsigned PairingChanges();
    bool AddWaiter(HANDLE hWake);
    void RemoveWaiter(HANDLE hWake);
    // The state's JSON when it is newer than nSince and read after nReadsBefore;
    // with ANY_VERSION, the state as it is.
    static const long long ANY_VERSION = -2;
    bool TakeIfChanged(long long nSince, unsigned nReadsBefore, std::string* pJson);

    CServerCore& m_core;
    HANDLE m_hCommandMutex;
    std::string m_artworkEpoch; // when this server started
    HANDLE m_hPoke;
    CWorkerThread* m_pThread;
    CRITICAL_SECTION m_lock;
    // Guarded by m_lock:
    WatchedState m_state;
    DWORD m_nReadAt;
    long long m_nVersion;
    unsigned m_nReads;
    unsigned m_nPairingChanges;
    static const int MAX_WAITERS = 32;
    HANDLE m_waiters[MAX_WAITERS];
    int m_nWaiters;
    bool m_bNewWaiter; // added since the last reading
};

// What is playing, watched for the live channels that push its changes. While
// a channel watches, a thread reads the active controller's status directly,
// every WATCH_PERIOD_MS, at once after every action of a page and when the
// application tells of a change; no command runs for it, so it never starts
// the media application. Each change gets a new version number and sets the
// watchers' events, which the channels wait on together with their sockets.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include "StatusChange.h"
#include "../framework/WorkerThread.h"

class CServerCore;

const DWORD WATCH_PERIOD_MS = 250;
// The longest wait for the command lock before a reading is skipped.
const DWORD WATCH_LOCK_WAIT_MS = 5000;
// Readings are at least this far apart, however often they are asked for.
const DWORD WATCH_GAP_MS = 100;

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
    // The key the state gives the artwork of this version, and the page asks
    // for it by: it names one picture for good, also across restarts of the
    // server (the page may keep the picture under it).
    std::string ArtworkKey(unsigned nVersion) const;
    // hWake is set on every change from now on, and after the first reading;
    // false when too many watch. Gives what TakeChange wants as nReadsBefore.
    bool AddWatcher(HANDLE hWake, unsigned* pnReadsBefore);
    void RemoveWatcher(HANDLE hWake);
    // The state's JSON when a reading taken after nReadsBefore has a version
    // other than *pnSeen, which it becomes; false when there is nothing new.
    bool TakeChange(unsigned nReadsBefore, long long* pnSeen, std::string* pJson);

private:
    CWebStateWatch(const CWebStateWatch&);
    CWebStateWatch& operator=(const CWebStateWatch&);
    static void WatchThread(CWorkerThread& thread, void* pParam);
    void ReadOnce(const CWorkerThread& thread);
    // False when the command lock was not had within WATCH_LOCK_WAIT_MS.
    bool ReadState(const CWorkerThread& thread, WatchedState* pState);

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
    static const int MAX_WATCHERS = 32;
    HANDLE m_watchers[MAX_WATCHERS];
    int m_nWatchers;
    bool m_bNewWatcher; // added since the last reading
};

// The media sessions that apps publish to the system (Windows 10 1809 on): what
// the driven one plays, its artwork, the list of them, and the requests that
// drive it. Every runtime call runs on one thread of its own, in the
// multithreaded apartment. What was read is kept and read again only when a
// change event says so, or when it is asked for after REREAD_AFTER_MS (events
// get lost on some systems): nothing is read while nobody asks.
#pragma once
#include <windows.h>
#include <atomic>
#include <string>
#include <vector>
#include "AutomationThread.h"
#include "ControllerLog.h"
#include "MediaSessionRules.h"
#include "SessionRetry.h"
#include "SessionSubscriptions.h"
#include "WinRtAbi.h"
#include "../framework/ScopedCom.h"

// What the driven session plays, as last read.
struct NowPlaying
{
    std::wstring appId;   // the app's user model id
    std::wstring appName; // readable: "Spotify", "ZuneMusic"
    std::wstring title;
    std::wstring artist;
    std::wstring album;
    unsigned char nState;     // as the phone has it: 1 playing, 3 paused, 0 anything else
    long long nPositionMs;    // -1 when the session tells no timeline; moves on while playing
    long long nDurationMs;    // -1 likewise
    int nShuffle;             // 0 off, 1 on, -1 the app does not tell
    int nRepeat;              // SessionRepeatMode, -1 the app does not tell
    unsigned nArtworkVersion; // changes whenever the artwork may have
};

struct SessionApp
{
    std::wstring appId;
    std::wstring appName;
    bool bDriven;
};

enum SessionRequest
{
    SESSION_PLAY,
    SESSION_PAUSE,
    SESSION_STOP,
    SESSION_NEXT,
    SESSION_PREVIOUS,
    SESSION_SEEK,    // to nArgument seconds
    SESSION_SHUFFLE, // on when nArgument is not 0
    SESSION_REPEAT,  // the whole list when nArgument is not 0, else none
    SESSION_REQUEST_COUNT
};

enum SessionRequestResult
{
    REQUEST_TAKEN,        // the app took it
    REQUEST_PRESS_KEY,    // no session, or the app does not allow or refused it
    REQUEST_NOT_DELIVERED // failed (logged) or its caller is stopping: nothing else to try
};

class CMediaSessions
{
public:
    explicit CMediaSessions(CControllerLog& log);
    ~CMediaSessions();

    // What the driven session plays; false with no session, or with no sessions on
    // this system (found out, and logged once, at the first question, and asked
    // again at a question every CSessionRetry::RETRY_AFTER_MS while missing).
    bool GetNowPlaying(NowPlaying& now);
    // Hands the request to the driven session, if its app allows it.
    SessionRequestResult Request(SessionRequest request, int nArgument);
    // The artwork of what plays (pBytes NULL: only the rest), its MIME type and
    // the artwork version it belongs to; false when there is none. Read once
    // for each version.
    bool GetArtwork(std::string* pBytes, std::wstring& contentType, unsigned& nVersion);
    // Every app that has a session now, in the system's order; read again only
    // after a change of sessions, or after REREAD_AFTER_MS.
    bool ListSessions(std::vector<SessionApp>& apps);
    // Drives this app's session from now on, while it has one; an empty id, or
    // the app's session ending, goes back to the system's current session.
    void ChooseSession(const std::wstring& appId);
    // The app chosen and still driven while it has a session; "" for none.
    std::wstring ChosenApp();
    // Counts the changes heard of; the event is set at each (auto-reset, for one waiter).
    LONG ChangeCount() const { return m_nChanges.load(); }
    HANDLE ChangeEvent() const { return m_hChanged; }

private:
    CMediaSessions(const CMediaSessions&);
    CMediaSessions& operator=(const CMediaSessions&);

    enum Operation
    {
        OP_READ,
        OP_ARTWORK,
        OP_LIST,
        OP_RELEASE,
        OP_REQUEST // + SessionRequest
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

    // What the thread read of the driven session.
    struct SessionState
    {
        SessionState();
        bool bPresent;
        std::wstring appId, title, artist, album;
        int nStatus;
        unsigned nControls; // a bit for each SmtcControl the app allows
        SessionTimeline timeline;
        double fRate;
        int nShuffle;
        int nRepeat;
        unsigned nArtworkVersion;
    };

    static void RunOnThread(void* pSelf, int nOperation, const char* pszArgument,
                            AutomationOutcome& outcome);
    static void DroppedOnThread(void*, int) {}
    static void ChangeArrived(void* pSelf, int nStale);
    bool IsAbsent();
    bool IsFresh();
    bool CopyNowPlaying(NowPlaying& now);

    // On the thread.
    bool EnsureManager();
    HRESULT ReachManager(const char** ppszCall);
    void Refresh(int nStale);
    bool PickSession(AutomationOutcome& outcome);
    bool FindSession(const std::wstring& appId, CComRef<SmtcSession>& session,
                     AutomationOutcome& outcome);
    bool GetSessionList(CComRef<SmtcSessionList>& list, UINT32& nCount, AutomationOutcome& outcome);
    void WatchSession();
    void UnwatchSession();
    bool ReadProperties(bool bArtworkMayChange, AutomationOutcome& outcome);
    bool ReadPlayback(AutomationOutcome& outcome);
    bool ReadTimeline(AutomationOutcome& outcome);
    void Publish();
    void ReportReadFailure(const AutomationOutcome& outcome);
    void SendRequest(SessionRequest request, int nArgument, AutomationOutcome& outcome);
    void ReadArtwork();
    void ReadThumbnail(std::string& bytes, std::wstring& contentType, AutomationOutcome& outcome);
    void ReadSessionList();
    void ReleaseAll();

    CControllerLog& m_log;
    std::atomic<int> m_nStale;
    std::atomic<LONG> m_nChanges;
    // The changes of which sessions there are and which is driven.
    std::atomic<LONG> m_nSessionChanges;
    HANDLE m_hChanged;

    // Shared with the callers, under m_lock.
    CRITICAL_SECTION m_lock;
    SessionState m_published;
    bool m_bEverRead;
    DWORD m_nReadAt;
    std::wstring m_chosenAppId;
    std::vector<SessionApp> m_apps;
    bool m_bAppsRead;
    LONG m_nAppsReadAtChange; // m_nSessionChanges when they were read
    DWORD m_nAppsReadAt;
    std::string m_artwork;
    std::wstring m_artworkType;
    unsigned m_nArtworkVersion;
    bool m_bArtworkRead;
    // Whether the session manager is to be asked for (again).
    CSessionRetry m_retry;

    // The thread's own.
    bool m_bRoInitialized;
    bool m_bReadFailureSaid;
    CComRef<SmtcManager> m_manager;
    CComRef<SmtcSession> m_session;
    CComRef<SmtcMediaProperties> m_properties;
    SessionSubscription m_managerEvents[2];
    SessionSubscription m_sessionEvents[3];
    SessionState m_read;

    // Last, so that it ends before anything it uses goes.
    CAutomationThread m_thread;
};

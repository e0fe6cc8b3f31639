// The server without its window: the controllers and the choice of one for a
// file, the settings the window pushes in, the folder tree of the last listing,
// the locks, and the operations that every way in (the phone links and the web
// remote) calls. Each operation takes its locks, writes its log lines and
// applies the rules about names once, whoever asks.
#pragma once
#include <windows.h>
#include <stdarg.h>
#include <atomic>
#include <mutex>
#include <string>
#include "PlayerKinds.h"
#include "TextSizes.h"
#include "../players/ControllerLog.h"
#include "../players/PlayerController.h"

struct BrowseNode;

// What the core needs of the program around it: the main window.
class CServerHost
{
public:
    // One message for the event log, already formatted; from any thread.
    virtual void LogText(const char* pszText) = 0;
    // EXIT, from a link's worker: returns at once. The host then stops the links
    // and the web remote (joining that worker too), and ends the process, nothing saved.
    virtual void RequestExit() = 0;

protected:
    ~CServerHost() {}
};

// Where a listing goes: the phone's wire or the web page.
class CListingSink
{
public:
    // Sends the tree (NULL: nothing to list); the listing's byte total on the
    // phone's wire, LISTING_EMPTY for no tree, or LISTING_FAILED when nothing
    // reached the client (the sink has said why).
    virtual int SendListing(BrowseNode* pRoot) = 0;

protected:
    ~CListingSink() {}
};
const int LISTING_FAILED = -1;
const int LISTING_EMPTY = -2;

// Where a download goes, as the file is read.
class CDownloadSink
{
public:
    // The next bytes; the first call comes once the file is open, with its first
    // block (none for an empty file). False when the client has gone: reading stops.
    virtual bool Send(const char* pData, int nCount) = 0;

protected:
    ~CDownloadSink() {}
};

// Where the playlist goes: its text (NULL when the application keeps none) and
// the index of the current entry.
class CPlaylistSink
{
public:
    virtual void SendPlaylist(const char* pText, int nSize, int nIndex) = 0;

protected:
    ~CPlaylistSink() {}
};

// The play state, times in seconds (-1: not known), and the title.
struct PlayerStatus
{
    PlayState nState;
    int nLength;
    int nPosition;
    int nShuffle;
    int nRepeat;
    char szTitle[STATUS_TITLE_SIZE];
};

class CServerCore : public CControllerLog
{
public:
    explicit CServerCore(CServerHost& host);
    ~CServerCore();

    // The event log, printf-style, from any thread.
    void LogEvent(const char* pszFormat, ...);
    void LogEventV(const char* pszFormat, va_list args);
    void LogControllerLine(const char* pszLine) override;

    // The settings, pushed in by the window as they change.
    void SetKindSettings(int nKind, const char* pszAppPath, const char* pszExtensions);
    void SetDefaultKind(int nKind);
    void SetStartApps(bool bStart);
    void SetStopWhenSwitching(bool bStop);
    void SetBrowseFolders(const char* pszFolders);
    std::string BrowseFolders() const;
    std::string AppPath(int nKind) const;
    std::string Extensions(int nKind) const;

    // Makes the controllers, once the settings are in; the default kind's is active.
    void CreateControllers();
    int ActiveKind() const { return m_nActiveKind.load(); }
    // The active controller's timer, on the window's thread.
    void Tick();

    // Makes sure the active application runs (when "Start applications
    // automatically" says so): the step before most commands.
    void EnsureActiveRunning();

    // The buttons: each calls the active controller and logs its line.
    void Stop(int nMode); // 0 stop, 1 fade, 2 at the end of the track
    void Play();
    void Pause();
    void NextTrack();
    void PreviousTrack();
    void FastForward();
    void Rewind();
    void ToggleFullScreen();
    void ClearPlaylist();
    void SetVolume(int nVolume); // 0..255
    void SetShuffle(int nOn);
    void SetRepeat(int nOn);
    void Select(int nIndex);
    void Seek(int nSeconds);
    // A command of the table that takes no parameter or a number (a button):
    // false for any other.
    bool RunControl(int nCommandId, long nValue);

    // What is playing. bWait lets the application take its time to tell the length.
    PlayerStatus Status(bool bWait);
    // The active application's volume, 0..255, or -1 when it cannot tell; for
    // the web page only, which shows it. Logs nothing.
    int Volume();
    // For the web page only, like the volume: what the active application
    // tells beyond the status, and its artwork (false with none).
    MediaDetails Details();
    bool Artwork(std::string* pBytes, std::string* pType, unsigned* pnVersion);
    // Drives this app from now on, "" the system's current one, where the
    // active application plays through apps of its own choosing (the media
    // sessions); logged there. False when it has no app of that id.
    bool ChooseMediaApp(const std::string& appId);
    // Set when the active application tells of a change, for the web page's
    // one watching thread; NULL when it tells none.
    HANDLE ChangeEvent() { return Active()->ChangeEvent(); }
    // False while the active application's window does not answer: its
    // commands are then skipped (and logged once) as for one not running.
    bool IsPlayerAnswering() { return Active()->IsAnswering(); }
    void GetDetailedInfo(int* pBitRate, int* pSampleRate, int* pChannels);
    // The number of playlist entries, logged.
    int PlaylistLength();
    void Playlist(CPlaylistSink& sink);

    // PLAY and LADD: the file goes to the application that handles its type.
    void PlayFile(const char* pszName);
    void Enqueue(const char* pszName);

    // LIST: the configured folders as a whole tree; DLST: one folder one level
    // deep, or the configured folders for an empty name.
    void ListAll(CListingSink& sink);
    void ListFolder(const char* pszName, CListingSink& sink);

    // FINF: the file's length (-1 for 2 GiB or more); false when it can't be opened.
    bool FileInfo(const char* pszName, int* pnLength);
    // DOWN: the file's bytes, as long as it was when opened; false when it
    // can't be opened (nothing was sent).
    bool Download(const char* pszName, CDownloadSink& sink);

    // SHUT: switches the PC off. EXIT: ends the server without saving.
    void Shutdown();
    void ExitServer();

private:
    CServerCore(const CServerCore&);
    CServerCore& operator=(const CServerCore&);
    CPlayerController* Active() const { return m_pControllers[m_nActiveKind.load()]; }
    void PlayOrAdd(const char* pszName, bool bAdd);
    bool IsMediaFileForKeys(const char* pszName);
    int ChooseKindForFile(const char* pszName);
    void BuildBrowseTree(const char* pszFolders, bool bRecursive);
    HANDLE OpenNamedFile(const char* pszName, const char* pszOpening);

    CServerHost& m_host;
    CPlayerController* m_pControllers[APP_KIND_COUNT];
    // The kind whose controller is active: the kind of the last file played.
    std::atomic<int> m_nActiveKind;

    mutable std::mutex m_settingsLock;
    char m_szAppPath[APP_KIND_COUNT][PATH_SIZE];
    char m_szExtensions[APP_KIND_COUNT][PATH_SIZE];
    int m_nDefaultKind;
    bool m_bStartApps;
    bool m_bStopWhenSwitching;
    char m_szBrowseFolders[PATH_SIZE];

    // One listing at a time, whoever asks: the tree of the last one is shared.
    HANDLE m_hBrowseMutex;
    BrowseNode* m_pBrowseRoot;
    // One PLAY or LADD at a time: choosing, stopping the old controller,
    // switching and playing are one step, so two clients cannot interleave them.
    HANDLE m_hSwitchMutex;
};

#include "MediaKeysController.h"
#include <shellapi.h>
#include <stdarg.h>
#include <stdio.h>
#include <tlhelp32.h>
#include "AppStart.h"
#include "CommandLines.h"
#include "ControllerLog.h"
#include "MediaKeysRules.h"
#include "MediaPlayerRules.h"
#include "MediaSessionRules.h"
#include "SystemVolume.h"
#include "../framework/ScopedCom.h"
#include "../framework/ScopedHandle.h"

static const char* const APP_NAME = "the player for media keys";
static const char* const ENQUEUE_VERB = "Enqueue";
static const int INITIAL_VOLUME = 128;
// The volume keys step as Windows Media Player's volume commands do: by 25 of
// 255 a step. A key moves the system volume by 2 of 100, so a step is 5 presses.
static const int VOLUME_KEY_PRESSES_PER_STEP = 5;

// A key as a media keyboard sends it: extended, with its scan code.
struct MediaKey
{
    WORD nVirtualKey;
    WORD nScanCode;
    const char* pszName;
};
static const MediaKey KEY_PLAY_PAUSE = {VK_MEDIA_PLAY_PAUSE, 0x22, "play/pause"};
static const MediaKey KEY_STOP = {VK_MEDIA_STOP, 0x24, "stop"};
static const MediaKey KEY_NEXT = {VK_MEDIA_NEXT_TRACK, 0x19, "next track"};
static const MediaKey KEY_PREVIOUS = {VK_MEDIA_PREV_TRACK, 0x10, "previous track"};
static const MediaKey KEY_VOLUME_UP = {VK_VOLUME_UP, 0x30, "volume up"};
static const MediaKey KEY_VOLUME_DOWN = {VK_VOLUME_DOWN, 0x2E, "volume down"};

enum ShellOpenResult
{
    SHELL_OPENED,
    SHELL_NO_VERB, // the file's type registers no such verb, or no program at all
    SHELL_FAILED
};

// Opens the file as a double click on it would (no verb) or with the verb, as
// the type its name says: by class, never by what it holds, so that a program
// named "song.mp3" goes to the song's player or nowhere. No dialog asks for a
// program: nobody need be at the PC; the failure goes to the log.
static ShellOpenResult OpenWithShell(const char* pszPath, const char* pszVerb, DWORD* pError)
{
    const char* pszClass = FileTypeOfPath(pszPath);
    if (!pszClass)
    {
        *pError = ERROR_NO_ASSOCIATION;
        return SHELL_NO_VERB;
    }
    CScopedComInit com; // the shell may hand the file to a COM handler
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC | SEE_MASK_CLASSNAME;
    info.lpVerb = pszVerb;
    info.lpFile = pszPath;
    info.lpClass = pszClass;
    info.nShow = SW_SHOWNORMAL;
    // Wine, given the class, fails without saying why when the class lacks the
    // verb: no error of its own, and none left from before.
    SetLastError(ERROR_SUCCESS);
    if (ShellExecuteExA(&info))
        return SHELL_OPENED;
    *pError = GetLastError();
    bool bNoVerb = reinterpret_cast<INT_PTR>(info.hInstApp) == SE_ERR_NOASSOC ||
                   *pError == ERROR_NO_ASSOCIATION || *pError == ERROR_SUCCESS;
    return bNoVerb ? SHELL_NO_VERB : SHELL_FAILED;
}

// Whether a process of this file name runs: a player of any kind has no window
// class to look for.
static bool IsProgramRunning(const char* pszFileName)
{
    CScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.IsValid())
        return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = Process32First(snapshot.Get(), &entry); bMore;
         bMore = Process32Next(snapshot.Get(), &entry))
    {
        if (lstrcmpiA(entry.szExeFile, pszFileName) == 0)
            return true;
    }
    return false;
}

// The title in the ANSI code page, what it lacks as the system's default
// character, cut at a character's end to fit nSize bytes with its end mark.
static void CopyAnsiTitle(const std::wstring& title, char* pszTitle, unsigned nSize)
{
    if (nSize == 0)
        return;
    pszTitle[0] = '\0';
    int nFit = 0, nTooMany = static_cast<int>(title.size()) + 1;
    while (nTooMany - nFit > 1)
    {
        int nTry = (nFit + nTooMany) / 2;
        int nBytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, title.data(), nTry, NULL, 0,
                                         NULL, NULL);
        if (nBytes > 0 && static_cast<unsigned>(nBytes) < nSize)
            nFit = nTry;
        else
            nTooMany = nTry;
    }
    // Half of a surrogate pair is no character.
    if (nFit > 0 && nFit < static_cast<int>(title.size()) && IS_HIGH_SURROGATE(title[nFit - 1]))
        nFit--;
    int nBytes = nFit > 0 ? WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, title.data(), nFit,
                                                pszTitle, static_cast<int>(nSize) - 1, NULL, NULL)
                          : 0;
    pszTitle[nBytes > 0 ? nBytes : 0] = '\0';
}

static std::string Utf8Of(const std::wstring& text)
{
    int nBytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), NULL,
                                     0, NULL, NULL);
    if (nBytes <= 0)
        return std::string();
    std::string utf8(static_cast<size_t>(nBytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], nBytes,
                        NULL, NULL);
    return utf8;
}

// Text that is not UTF-8 names nothing: empty.
static std::wstring WideOf(const std::string& utf8)
{
    int nSize = static_cast<int>(utf8.size());
    int nChars = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), nSize, NULL, 0);
    if (nChars <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(nChars), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), nSize, &wide[0], nChars);
    return wide;
}

CMediaKeysController::CMediaKeysController(CControllerLog& log)
    : m_log(log), m_nPlayState(PLAY_STATE_STOPPED), m_nVolume(INITIAL_VOLUME),
      m_bVolumeKeysSaid(false), m_sessions(log)
{
}

// Down and up in one call, so that no other input comes between them.
bool CMediaKeysController::Press(const MediaKey& key)
{
    INPUT inputs[2] = {};
    for (int i = 0; i < 2; i++)
    {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = key.nVirtualKey;
        inputs[i].ki.wScan = key.nScanCode;
        inputs[i].ki.dwFlags = KEYEVENTF_EXTENDEDKEY | (i == 1 ? KEYEVENTF_KEYUP : 0);
    }
    if (SendInput(2, inputs, sizeof(INPUT)) == 2)
        return true;
    m_log.LogFormat("Media keys: couldn't press the %s key (error %lu)\r\n", key.pszName,
                    GetLastError());
    return false;
}

bool CMediaKeysController::PressVolumeKeys(int nPresses)
{
    const MediaKey& key = nPresses > 0 ? KEY_VOLUME_UP : KEY_VOLUME_DOWN;
    for (int i = 0; i < nPresses || i < -nPresses; i++)
    {
        if (!Press(key))
            return false;
    }
    return true;
}

int CMediaKeysController::EnsureRunning(const char* pszAppPath, int bStart)
{
    m_exePathNotice.Use(pszAppPath);
    // No path: nothing to start, the keys reach whichever player runs.
    if (pszAppPath[0] == '\0' || IsProgramRunning(FileNameOfPath(pszAppPath)))
        return 1;
    if (!bStart)
        return 0;
    char szExePath[APP_PATH_SIZE];
    bool bTooLong = !KeepApplicationPath(pszAppPath, szExePath, sizeof(szExePath));
    if (!AcceptStart(m_log, APP_NAME, bTooLong, m_exePathNotice, COMMAND_LINE_OK))
        return 0;
    return StartAndWaitUntilReady(szExePath) ? 1 : 0;
}

void CMediaKeysController::GetStatus(PlayState* pState, int* pLength, int* pPosition, int* pShuffle,
                                     int* pRepeat, char* pszTitle, unsigned nTitleSize, int)
{
    NowPlaying now;
    if (m_sessions.GetNowPlaying(now))
    {
        m_nPlayState = now.nState;
        *pState = now.nState;
        *pLength = PhoneSeconds(now.nDurationMs);
        *pPosition = PhoneSeconds(now.nPositionMs);
        *pShuffle = now.nShuffle > 0 ? 1 : 0;
        *pRepeat = now.nRepeat > 0 ? 1 : 0;
        CopyAnsiTitle(PhoneTitle(now.artist, now.title), pszTitle, nTitleSize);
        return;
    }
    *pState = m_nPlayState;
    *pLength = -1;
    *pPosition = -1;
    *pShuffle = 0;
    *pRepeat = 0;
    if (nTitleSize > 0)
        pszTitle[0] = '\0';
}

void CMediaKeysController::OpenWithDefaultVerb(const char* pszPath)
{
    DWORD nError = 0;
    ShellOpenResult result = OpenWithShell(pszPath, NULL, &nError);
    if (result == SHELL_OPENED)
        m_nPlayState = PLAY_STATE_PLAYING;
    else if (result == SHELL_NO_VERB)
        m_log.LogFormat(
            "Media keys: couldn't open \"%.900s\": no program is registered for its type\r\n",
            pszPath);
    else
        m_log.LogFormat("Media keys: couldn't open \"%.900s\" (error %lu)\r\n", pszPath, nError);
}

// The handler lets only media files through (IsMediaFileName).
void CMediaKeysController::PlayFile(const char* pszPath)
{
    OpenWithDefaultVerb(pszPath);
}

// Players that keep a list register an "Enqueue" verb for their files; for
// the others adding is playing.
void CMediaKeysController::AddFile(const char* pszPath)
{
    DWORD nError = 0;
    ShellOpenResult result = OpenWithShell(pszPath, ENQUEUE_VERB, &nError);
    if (result == SHELL_NO_VERB)
        OpenWithDefaultVerb(pszPath);
    else if (result == SHELL_FAILED)
        m_log.LogFormat("Media keys: couldn't add \"%.900s\" (error %lu)\r\n", pszPath, nError);
}

// The system volume when it can be set; otherwise the volume keys, a step at a
// time from what they are believed to have left, as nothing can be read back.
void CMediaKeysController::SetVolume(int nVolume)
{
    HRESULT hr = S_OK;
    SystemVolumeResult result = SetSystemVolume(nVolume / 255.0f, &hr);
    if (result == SYSTEM_VOLUME_SET)
    {
        m_nVolume = nVolume;
        return;
    }
    unsigned long nError = static_cast<unsigned long>(hr);
    if (result == SYSTEM_VOLUME_FAILED)
        m_log.LogFormat(
            "Media keys: couldn't set the system volume (error 0x%08lX); pressing the volume "
            "keys instead\r\n",
            nError);
    else if (!m_bVolumeKeysSaid)
        m_log.LogFormat(
            "Media keys: no system volume to set (error 0x%08lX); pressing the volume keys "
            "instead\r\n",
            nError);
    m_bVolumeKeysSaid = m_bVolumeKeysSaid || result == SYSTEM_VOLUME_MISSING;
    int nEstimate = m_nVolume;
    if (PressVolumeKeys(StepMediaPlayerVolume(&nEstimate, nVolume) * VOLUME_KEY_PRESSES_PER_STEP))
        m_nVolume = nEstimate;
}

// Only the system volume is read back: the volume keys' is a guess.
int CMediaKeysController::GetVolume()
{
    float fLevel = 0.0f;
    return GetSystemVolume(&fLevel) ? static_cast<int>(fLevel * 255.0f + 0.5f) : -1;
}

// False when the key is to stand in; the play state it goes by is then the
// session's own, where there is one.
bool CMediaKeysController::SessionTakes(SessionRequest request, int nArgument)
{
    SessionRequestResult result = m_sessions.Request(request, nArgument);
    if (result != REQUEST_PRESS_KEY)
        return true;
    NowPlaying now;
    if (m_sessions.GetNowPlaying(now))
        m_nPlayState = now.nState;
    return false;
}

// The key toggles, so it is pressed only when the state is to change.
void CMediaKeysController::Play()
{
    if (SessionTakes(SESSION_PLAY, 0))
        m_nPlayState = PLAY_STATE_PLAYING;
    else if (m_nPlayState != PLAY_STATE_PLAYING && Press(KEY_PLAY_PAUSE))
        m_nPlayState = PLAY_STATE_PLAYING;
}

void CMediaKeysController::Pause()
{
    if (SessionTakes(SESSION_PAUSE, 0))
        m_nPlayState = PLAY_STATE_PAUSED;
    else if (m_nPlayState == PLAY_STATE_PLAYING && Press(KEY_PLAY_PAUSE))
        m_nPlayState = PLAY_STATE_PAUSED;
}

// Fading and stopping at the end of the track are plain stops: a key can do no more.
void CMediaKeysController::Stop(int)
{
    if (SessionTakes(SESSION_STOP, 0) || Press(KEY_STOP))
        m_nPlayState = PLAY_STATE_STOPPED;
}

void CMediaKeysController::NextTrack()
{
    if (!SessionTakes(SESSION_NEXT, 0))
        Press(KEY_NEXT);
}

void CMediaKeysController::PreviousTrack()
{
    if (!SessionTakes(SESSION_PREVIOUS, 0))
        Press(KEY_PREVIOUS);
}

// No key seeks, shuffles or repeats: without a session that allows it, nothing happens.
void CMediaKeysController::Seek(int nSeconds)
{
    SessionTakes(SESSION_SEEK, nSeconds);
}

void CMediaKeysController::SetShuffle(int nOn)
{
    SessionTakes(SESSION_SHUFFLE, nOn);
}

void CMediaKeysController::SetRepeat(int nOn)
{
    SessionTakes(SESSION_REPEAT, nOn);
}

void CMediaKeysController::GetMediaDetails(MediaDetails* pDetails)
{
    NowPlaying now;
    if (m_sessions.GetNowPlaying(now))
    {
        pDetails->title = Utf8Of(now.title);
        pDetails->artist = Utf8Of(now.artist);
        pDetails->album = Utf8Of(now.album);
        pDetails->appName = Utf8Of(now.appName);
        std::wstring type;
        if (m_sessions.GetArtwork(NULL, type, pDetails->nArtworkVersion))
            pDetails->artworkType = Utf8Of(type);
    }
    std::vector<SessionApp> apps;
    m_sessions.ListSessions(apps);
    for (size_t i = 0; i < apps.size(); i++)
    {
        MediaApp app = {Utf8Of(apps[i].appId), Utf8Of(apps[i].appName), apps[i].bDriven};
        pDetails->apps.push_back(app);
    }
    pDetails->bAppChosen = !m_sessions.ChosenApp().empty();
}

bool CMediaKeysController::GetArtwork(std::string* pBytes, std::string* pType, unsigned* pnVersion)
{
    std::wstring type;
    if (!m_sessions.GetArtwork(pBytes, type, *pnVersion))
        return false;
    *pType = Utf8Of(type);
    return true;
}

// Only an app that has a session now; the choice lasts while it has one.
bool CMediaKeysController::ChooseMediaApp(const std::string& appId)
{
    std::vector<SessionApp> apps;
    if (!m_sessions.ListSessions(apps))
        return false;
    if (appId.empty())
    {
        m_sessions.ChooseSession(std::wstring());
        m_log.LogFormat("Media sessions: now driving the system's current session\r\n");
        return true;
    }
    std::wstring id = WideOf(appId);
    for (size_t i = 0; i < apps.size() && !id.empty(); i++)
    {
        if (apps[i].appId != id)
            continue;
        m_sessions.ChooseSession(id);
        char szName[STATUS_TITLE_SIZE];
        CopyAnsiTitle(apps[i].appName, szName, sizeof(szName));
        m_log.LogFormat("Media sessions: now driving %s\r\n", szName);
        return true;
    }
    return false;
}

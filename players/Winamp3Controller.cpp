#include "Winamp3Controller.h"
#include "AppStart.h"
#include "Winamp3Rules.h"
#include "../framework/WorkerThread.h"

static const char* const APP_NAME = "Winamp 3";
static const char* const WINDOW_CLASS = "STUDIO";
static const char* const ROOT_WINDOW_CLASS = "BaseWindow_RootWnd";
static const unsigned CAPTION_SIZE = 256;
static const DWORD FILE_HANDOVER_MS = 1000;

// Virtual-key and scan codes of Winamp 3's shortcuts.
struct Shortcut
{
    WPARAM nVirtualKey;
    DWORD nScanCode;
};
static const Shortcut KEY_X = {0x58, 0x2D};
static const Shortcut KEY_C = {0x43, 0x2E};
static const Shortcut KEY_V = {0x56, 0x2F};
static const Shortcut KEY_B = {0x42, 0x30};
static const Shortcut KEY_Z = {0x5A, 0x2C};
static const Shortcut KEY_S = {0x53, 0x1F};
static const Shortcut KEY_R = {0x52, 0x13};
static const Shortcut KEY_RIGHT = {VK_RIGHT, 0x4D};
static const Shortcut KEY_LEFT = {VK_LEFT, 0x4B};
static const Shortcut KEY_UP = {VK_UP, 0x48};
static const Shortcut KEY_DOWN = {VK_DOWN, 0x50};

void CWinamp3Controller::Press(const Shortcut& key)
{
    DWORD nScanBits = key.nScanCode * 0x10000u;
    // A key-down that was not taken is not followed by its key-up.
    if (m_window.Send(WM_KEYDOWN, key.nVirtualKey, static_cast<LPARAM>(1u + nScanBits)))
        m_window.Send(WM_KEYUP, key.nVirtualKey, static_cast<LPARAM>(0xC0000001u + nScanBits));
}

// The full-screen toggle is a double click at this client point of the root window.
static const LPARAM FULL_SCREEN_POINT = MAKELPARAM(348, 8);

CWinamp3Controller::CWinamp3Controller(CControllerLog& log)
    : m_log(log), m_window(log, APP_NAME), m_nPlayState(PLAY_STATE_STOPPED), m_nElapsed(0),
      m_nLength(0), m_nVolume(-1), m_bExePathTooLong(false)
{
    m_szExePath[0] = '\0';
}

int CWinamp3Controller::EnsureRunning(const char* pszAppPath, int bStart)
{
    m_bExePathTooLong = !KeepApplicationPath(pszAppPath, m_szExePath, sizeof(m_szExePath));
    m_exePathNotice.Use(pszAppPath);
    m_window.Attach(FindOrStartWindow(m_log, APP_NAME, WINDOW_CLASS, m_szExePath, m_bExePathTooLong,
                                      m_exePathNotice, bStart));
    if (!m_window.Handle())
        return 0;
    QueryVersion();
    return 1;
}

void CWinamp3Controller::GetStatus(PlayState* pState, int* pLength, int* pPosition, int* pShuffle,
                                   int* pRepeat, char* pszTitle, unsigned nTitleSize, int)
{
    char szCaption[CAPTION_SIZE] = "";
    LRESULT nRead = 0;
    if (!m_window.Send(WM_GETTEXT, CAPTION_SIZE, reinterpret_cast<LPARAM>(szCaption), &nRead) ||
        nRead <= 0)
        szCaption[0] = '\0';
    szCaption[CAPTION_SIZE - 1] = '\0';

    Winamp3CaptionStatus status =
        ParseWinamp3Caption(szCaption, m_nPlayState, m_nElapsed, pszTitle, nTitleSize);
    if (status.bHasTime)
        m_nLength = status.nLength;
    *pState = status.nState;
    *pLength = status.nLength;
    *pPosition = status.nPosition;
    *pShuffle = 0;
    *pRepeat = 0;
}

void CWinamp3Controller::PlayFile(const char* pszPath)
{
    char szCommandLine[COMMAND_LINE_SIZE];
    CommandLineResult commandLine =
        BuildPlayCommandLine(pszPath, szCommandLine, sizeof(szCommandLine));
    if (!AcceptStart(m_log, APP_NAME, m_bExePathTooLong, m_exePathNotice, commandLine))
        return;
    StartWithCommandLine(m_szExePath, szCommandLine);
    m_nPlayState = PLAY_STATE_PLAYING;
    CWorkerThread::PauseCurrentThread(FILE_HANDOVER_MS);
    m_nElapsed = 0;
}

void CWinamp3Controller::AddFile(const char* pszPath)
{
    char szCommandLine[COMMAND_LINE_SIZE];
    CommandLineResult commandLine =
        BuildAddCommandLine(m_szExePath, pszPath, szCommandLine, sizeof(szCommandLine));
    if (!AcceptStart(m_log, APP_NAME, m_bExePathTooLong, m_exePathNotice, commandLine))
        return;
    if (m_szExePath[0] != '\0')
        WinExec(szCommandLine, SW_SHOWNORMAL);
    CWorkerThread::PauseCurrentThread(FILE_HANDOVER_MS);
}

void CWinamp3Controller::SetVolume(int nVolume)
{
    int nStep = StepWinamp3Volume(&m_nVolume, nVolume);
    if (nStep == 0)
        return;
    const Shortcut& key = nStep > 0 ? KEY_UP : KEY_DOWN;
    Press(key);
    Press(key);
}

void CWinamp3Controller::Play()
{
    bool bRestartCount = false;
    m_nPlayState = Winamp3StateAfterPlay(m_nPlayState, &bRestartCount);
    if (bRestartCount)
        m_nElapsed = 0;
    Press(KEY_X);
}

void CWinamp3Controller::Pause()
{
    m_nPlayState = Winamp3StateAfterPause(m_nPlayState);
    Press(KEY_C);
}

void CWinamp3Controller::Stop(int)
{
    m_nPlayState = PLAY_STATE_STOPPED;
    Press(KEY_V);
}

void CWinamp3Controller::FastForward()
{
    Press(KEY_RIGHT);
}

void CWinamp3Controller::Rewind()
{
    Press(KEY_LEFT);
}

void CWinamp3Controller::NextTrack()
{
    Press(KEY_B);
}

void CWinamp3Controller::PreviousTrack()
{
    Press(KEY_Z);
}

void CWinamp3Controller::SetShuffle(int)
{
    Press(KEY_S);
}

void CWinamp3Controller::SetRepeat(int)
{
    Press(KEY_R);
}

void CWinamp3Controller::Tick()
{
    // A reset by PlayFile or Play between the read and the write wins: the
    // exchange then fails and this second is not counted.
    int nElapsed = m_nElapsed;
    if (Winamp3TickCounts(m_nPlayState, nElapsed, m_nLength))
        m_nElapsed.compare_exchange_strong(nElapsed, nElapsed + 1);
}

void CWinamp3Controller::ToggleFullScreen()
{
    HWND hNormal = FindWindowA(ROOT_WINDOW_CLASS, "normal");
    if (!hNormal)
        return;
    HWND hRoot = FindWindowExA(hNormal, NULL, ROOT_WINDOW_CLASS, "");
    if (!hRoot)
        hRoot = FindWindowA(ROOT_WINDOW_CLASS, "");
    if (!hRoot)
        return;
    for (int nClick = 0; nClick < 2; nClick++)
    {
        if (!m_window.SendTo(hRoot, WM_LBUTTONDOWN, MK_LBUTTON, FULL_SCREEN_POINT))
            return;
        m_window.SendTo(hRoot, WM_LBUTTONUP, 0, FULL_SCREEN_POINT);
    }
}

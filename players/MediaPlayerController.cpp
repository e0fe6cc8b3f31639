#include "MediaPlayerController.h"
#include "AppStart.h"
#include "MediaPlayerRules.h"

static const char* const APP_NAME = "Windows Media Player";
static const char* const WINDOW_CLASS = "WMPlayerApp";
static const PlayState STOPPED = 0;
static const PlayState PLAYING = 1;
static const int INITIAL_VOLUME = 128;

// The player's menu command identifiers.
enum
{
    WMP_PLAY_PAUSE = 0x18028,
    WMP_STOP = 0x18029,
    WMP_PREVIOUS = 0x1802A,
    WMP_NEXT = 0x1802B,
    WMP_VOLUME_UP = 0x1802F,
    WMP_VOLUME_DOWN = 0x18030,
    WMP_SHUFFLE = 0x1804A,
    WMP_REPEAT = 0x1804B,
    WMP_FULL_SCREEN = 0x1800E
};

CMediaPlayerController::CMediaPlayerController(CControllerLog& log)
    : m_log(log), m_hPlayerWnd(NULL), m_nPlayState(STOPPED), m_nVolume(INITIAL_VOLUME),
      m_bExePathTooLong(false)
{
    m_szExePath[0] = '\0';
}

void CMediaPlayerController::SendCommand(WPARAM nCommand)
{
    SendMessageA(m_hPlayerWnd, WM_COMMAND, nCommand, 0);
}

int CMediaPlayerController::EnsureRunning(const char* pszAppPath, int bStart)
{
    m_bExePathTooLong = !KeepApplicationPath(pszAppPath, m_szExePath, sizeof(m_szExePath));
    m_exePathNotice.Use(pszAppPath);
    m_hPlayerWnd = FindOrStartWindow(m_log, APP_NAME, WINDOW_CLASS, m_szExePath, m_bExePathTooLong,
                                     m_exePathNotice, bStart);
    if (!m_hPlayerWnd)
        return 0;
    QueryVersion();
    return 1;
}

void CMediaPlayerController::GetStatus(PlayState* pState, int* pLength, int* pPosition,
                                       int* pShuffle, int* pRepeat, char* pszTitle,
                                       unsigned nTitleSize, int)
{
    *pState = m_nPlayState;
    *pLength = -1;
    *pPosition = -1;
    *pShuffle = 0;
    *pRepeat = 0;
    if (nTitleSize > 0)
        pszTitle[0] = '\0';
}

void CMediaPlayerController::PlayFile(const char* pszPath)
{
    char szCommandLine[COMMAND_LINE_SIZE];
    CommandLineResult commandLine =
        BuildPlayCommandLine(pszPath, szCommandLine, sizeof(szCommandLine));
    if (!AcceptStart(m_log, APP_NAME, m_bExePathTooLong, m_exePathNotice, commandLine))
        return;
    StartWithCommandLine(m_szExePath, szCommandLine);
    m_nPlayState = PLAYING;
}

void CMediaPlayerController::SetVolume(int nVolume)
{
    int nStep = StepMediaPlayerVolume(&m_nVolume, nVolume);
    if (nStep != 0)
        SendCommand(nStep > 0 ? WMP_VOLUME_UP : WMP_VOLUME_DOWN);
}

void CMediaPlayerController::PlayOrPause()
{
    m_nPlayState = MediaPlayerStateAfterPlayPause(m_nPlayState);
    SendCommand(WMP_PLAY_PAUSE);
}

void CMediaPlayerController::Stop(int)
{
    m_nPlayState = STOPPED;
    SendCommand(WMP_STOP);
}

void CMediaPlayerController::NextTrack()
{
    SendCommand(WMP_NEXT);
}

void CMediaPlayerController::PreviousTrack()
{
    SendCommand(WMP_PREVIOUS);
}

void CMediaPlayerController::SetShuffle(int)
{
    SendCommand(WMP_SHUFFLE);
}

void CMediaPlayerController::SetRepeat(int)
{
    SendCommand(WMP_REPEAT);
}

void CMediaPlayerController::GetPlaylist(char** ppText, int* pSize, int* pIndex)
{
    *ppText = NULL;
    *pSize = 0;
    *pIndex = 0;
}

void CMediaPlayerController::GetDetailedInfo(int* pBitRate, int* pSampleRate, int* pChannels)
{
    *pBitRate = 0;
    *pSampleRate = 0;
    *pChannels = 0;
}

void CMediaPlayerController::ToggleFullScreen()
{
    SendCommand(WMP_FULL_SCREEN);
}

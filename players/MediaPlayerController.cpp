#include "MediaPlayerController.h"
#include "AppStart.h"
#include "MediaPlayerRules.h"

static const char* const APP_NAME = "Windows Media Player";
static const char* const WINDOW_CLASS = "WMPlayerApp";
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
    : m_log(log), m_window(log, APP_NAME), m_nPlayState(PLAY_STATE_STOPPED),
      m_nVolume(INITIAL_VOLUME), m_bExePathTooLong(false)
{
    m_szExePath[0] = '\0';
}

void CMediaPlayerController::SendCommand(WPARAM nCommand)
{
    m_window.Send(WM_COMMAND, nCommand, 0);
}

int CMediaPlayerController::EnsureRunning(const char* pszAppPath, int bStart)
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

void CMediaPlayerController::GetStatus(PlayState* pState, int* pLength, int* pPosition,
                                       int* pShuffle, int* pRepeat, char* pszTitle,
                                       unsigned nTitleSize, int)
{
    WriteStateOnly(m_nPlayState, pState, pLength, pPosition, pShuffle, pRepeat, pszTitle,
                   nTitleSize);
}

void CMediaPlayerController::PlayFile(const char* pszPath)
{
    char szCommandLine[COMMAND_LINE_SIZE];
    CommandLineResult commandLine =
        BuildPlayCommandLine(pszPath, szCommandLine, sizeof(szCommandLine));
    if (!AcceptStart(m_log, APP_NAME, m_bExePathTooLong, m_exePathNotice, commandLine))
        return;
    StartWithCommandLine(m_szExePath, szCommandLine);
    m_nPlayState = PLAY_STATE_PLAYING;
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
    m_nPlayState = PLAY_STATE_STOPPED;
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

void CMediaPlayerController::ToggleFullScreen()
{
    SendCommand(WMP_FULL_SCREEN);
}

// Drives Windows Media Player from outside: its command line for files and its
// menu commands sent as WM_COMMAND. It reads nothing back; the play state and
// the volume are the controller's own estimates.
#pragma once
#include <windows.h>
#include "CommandLines.h"
#include "PathNotice.h"
#include "PlayerController.h"
#include "PlayerWindow.h"

class CControllerLog;

class CMediaPlayerController : public CPlayerController
{
public:
    explicit CMediaPlayerController(CControllerLog& log);

    int EnsureRunning(const char* pszAppPath, int bStart) override;
    void GetStatus(PlayState* pState, int* pLength, int* pPosition, int* pShuffle, int* pRepeat,
                   char* pszTitle, unsigned nTitleSize, int bWait) override;
    void PlayFile(const char* pszPath) override;
    void SetVolume(int nVolume) override;
    void Play() override { PlayOrPause(); }
    void Pause() override { PlayOrPause(); }
    void Stop(int nMode) override;
    void NextTrack() override;
    void PreviousTrack() override;
    void SetShuffle(int nOn) override;
    void SetRepeat(int nOn) override;
    void ToggleFullScreen() override;
    bool IsAnswering() override { return m_window.IsAnswering(); }

private:
    void PlayOrPause();
    void SendCommand(WPARAM nCommand);

    CControllerLog& m_log;
    CPlayerWindow m_window;
    PlayState m_nPlayState;
    int m_nVolume;
    char m_szExePath[APP_PATH_SIZE];
    bool m_bExePathTooLong;
    CPathNotice m_exePathNotice;
};

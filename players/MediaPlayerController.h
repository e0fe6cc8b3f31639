// Drives Windows Media Player from outside: its command line for files and its
// menu commands sent as WM_COMMAND. It reads nothing back; the play state and
// the volume are the controller's own estimates.
#pragma once
#include <windows.h>
#include "CommandLines.h"
#include "PathNotice.h"
#include "PlayerController.h"

class CControllerLog;

class CMediaPlayerController : public CPlayerController
{
public:
    explicit CMediaPlayerController(CControllerLog& log);

    int EnsureRunning(const char* pszAppPath, int bStart) override;
    int QueryVersion() override { return 0; }
    void GetStatus(PlayState* pState, int* pLength, int* pPosition, int* pShuffle, int* pRepeat,
                   char* pszTitle, unsigned nTitleSize, int bWait) override;
    void PlayFile(const char* pszPath) override;
    void AddFile(const char*) override {}
    void SetVolume(int nVolume) override;
    void Play() override { PlayOrPause(); }
    void Pause() override { PlayOrPause(); }
    void Stop(int nMode) override;
    void FastForward() override {}
    void Rewind() override {}
    void NextTrack() override;
    void PreviousTrack() override;
    void SetShuffle(int nOn) override;
    void SetRepeat(int nOn) override;
    void GetPlaylist(char** ppText, int* pSize, int* pIndex) override;
    void SelectPlaylistItem(int) override {}
    void ClearPlaylist() override {}
    void Tick() override {}
    void GetDetailedInfo(int* pBitRate, int* pSampleRate, int* pChannels) override;
    void ToggleFullScreen() override;
    void Seek(int) override {}
    void GetPlaylistLength(int* pCount) override { *pCount = 0; }

private:
    void PlayOrPause();
    void SendCommand(WPARAM nCommand);

    CControllerLog& m_log;
    HWND m_hPlayerWnd;
    PlayState m_nPlayState;
    int m_nVolume;
    char m_szExePath[APP_PATH_SIZE];
    bool m_bExePathTooLong;
    CPathNotice m_exePathNotice;
};

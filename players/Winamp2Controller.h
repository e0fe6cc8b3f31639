// Drives Winamp 2 through its published window messages. Also takes a window
// of class "STUDIO" when no Winamp 2 window exists.
#pragma once
#include <windows.h>
#include "PlayerController.h"
#include "PlayerWindow.h"

class CControllerLog;

class CWinamp2Controller : public CPlayerController
{
public:
    explicit CWinamp2Controller(CControllerLog& log);

    int EnsureRunning(const char* pszAppPath, int bStart) override;
    int QueryVersion() override;
    void GetStatus(PlayState* pState, int* pLength, int* pPosition, int* pShuffle, int* pRepeat,
                   char* pszTitle, unsigned nTitleSize, int bWait) override;
    void PlayFile(const char* pszPath) override;
    void AddFile(const char* pszPath) override;
    void SetVolume(int nVolume) override;
    int GetVolume() override;
    void Play() override;
    void Pause() override;
    void Stop(int nMode) override;
    void FastForward() override;
    void Rewind() override;
    void NextTrack() override;
    void PreviousTrack() override;
    void SetShuffle(int nOn) override;
    void SetRepeat(int nOn) override;
    void GetPlaylist(char** ppText, int* pSize, int* pIndex) override;
    void SelectPlaylistItem(int nIndex) override;
    void ClearPlaylist() override;
    void GetDetailedInfo(int* pBitRate, int* pSampleRate, int* pChannels) override;
    void Seek(int nSeconds) override;
    void GetPlaylistLength(int* pCount) override;
    bool IsAnswering() override { return m_window.IsAnswering(); }

private:
    int FindOrStartPlayer(const char* pszWindowClass, const char* pszPath, int bStart);
    LRESULT SendUser(WPARAM wParam, LPARAM lParam);
    void PressButton(WPARAM nCommand);
    void SendFile(const char* pszPath);

    CPlayerWindow m_window;
    int m_nVersion;
    char m_szExePath[MAX_PATH];
};

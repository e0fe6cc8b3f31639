// Drives Winamp 3 from outside: its keyboard shortcuts sent as key messages,
// its caption for the status, its command line for files, and a count of its
// own for the play position.
#pragma once
#include <windows.h>
#include <atomic>
#include "CommandLines.h"
#include "PathNotice.h"
#include "PlayerController.h"
#include "PlayerWindow.h"

class CControllerLog;
struct Shortcut;

class CWinamp3Controller : public CPlayerController
{
public:
    explicit CWinamp3Controller(CControllerLog& log);

    int EnsureRunning(const char* pszAppPath, int bStart) override;
    void GetStatus(PlayState* pState, int* pLength, int* pPosition, int* pShuffle, int* pRepeat,
                   char* pszTitle, unsigned nTitleSize, int bWait) override;
    void PlayFile(const char* pszPath) override;
    void AddFile(const char* pszPath) override;
    void SetVolume(int nVolume) override;
    void Play() override;
    void Pause() override;
    void Stop(int nMode) override;
    void FastForward() override;
    void Rewind() override;
    void NextTrack() override;
    void PreviousTrack() override;
    void SetShuffle(int nOn) override;
    void SetRepeat(int nOn) override;
    void Tick() override;
    void ToggleFullScreen() override;
    bool IsAnswering() override { return m_window.IsAnswering(); }

private:
    // A press is a key-down and a key-up, each sent and handled before the next.
    void Press(const Shortcut& key);

    CControllerLog& m_log;
    CPlayerWindow m_window;
    // Tick reads these on the user-interface thread while link threads change them.
    std::atomic<PlayState> m_nPlayState;
    std::atomic<int> m_nElapsed;
    std::atomic<int> m_nLength;
    int m_nVolume;
    char m_szExePath[APP_PATH_SIZE];
    bool m_bExePathTooLong;
    CPathNotice m_exePathNotice;
};

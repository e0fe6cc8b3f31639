// Stand-in for a media application whose controller is not built yet. It finds
// no application, acts on nothing and reports the values of a missing application,
// so commands for it are logged but have no effect.
#pragma once
#include "PlayerController.h"

class CPlaceholderController : public CPlayerController
{
public:
    int EnsureRunning(const char* pszAppPath, int bStart) override;
    int QueryVersion() override { return 0; }
    void GetStatus(PlayState* pState, int* pLength, int* pPosition, int* pShuffle, int* pRepeat,
                   char* pszTitle, unsigned nTitleSize, int bWait) override;
    void PlayFile(const char*) override {}
    void AddFile(const char*) override {}
    void SetVolume(int) override {}
    void Play() override {}
    void Pause() override {}
    void Stop(int) override {}
    void FastForward() override {}
    void Rewind() override {}
    void NextTrack() override {}
    void PreviousTrack() override {}
    void SetShuffle(int) override {}
    void SetRepeat(int) override {}
    void GetPlaylist(char** ppText, int* pSize, int* pIndex) override;
    void SelectPlaylistItem(int) override {}
    void ClearPlaylist() override {}
    void Tick() override {}
    void GetDetailedInfo(int* pBitRate, int* pSampleRate, int* pChannels) override;
    void ToggleFullScreen() override {}
    void Seek(int) override {}
    void GetPlaylistLength(int* pCount) override { *pCount = 0; }
};

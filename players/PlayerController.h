// The one interface through which every command reaches a media application.
// The 23 operations keep their fixed order; the destructor comes after them.
#pragma once

// Index of a media application; also the order of the "Default application:" list.
// New kinds are only ever appended: the numbers are in every settings file.
enum AppKind
{
    APP_WINAMP2 = 0,
    APP_WINAMP3 = 1,
    APP_MEDIA_PLAYER = 2,
    APP_POWERPOINT_VIEWER = 3,
    APP_POWERPOINT = 4,
    APP_MEDIA_KEYS = 5,
    APP_KIND_COUNT = 6
};

// Play state byte: 0 stopped, 1 playing, 3 paused.
typedef unsigned char PlayState;

class CPlayerController
{
public:
    virtual int EnsureRunning(const char* pszAppPath, int bStart) = 0;
    virtual int QueryVersion() = 0;
    virtual void GetStatus(PlayState* pState, int* pLength, int* pPosition, int* pShuffle,
                           int* pRepeat, char* pszTitle, unsigned nTitleSize, int bWait) = 0;
    virtual void PlayFile(const char* pszPath) = 0;
    virtual void AddFile(const char* pszPath) = 0;
    virtual void SetVolume(int nVolume) = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop(int nMode) = 0;
    virtual void FastForward() = 0;
    virtual void Rewind() = 0;
    virtual void NextTrack() = 0;
    virtual void PreviousTrack() = 0;
    virtual void SetShuffle(int nOn) = 0;
    virtual void SetRepeat(int nOn) = 0;
    // The text is allocated with malloc; the caller frees it. No playlist: NULL, 0, 0.
    virtual void GetPlaylist(char** ppText, int* pSize, int* pIndex) = 0;
    virtual void SelectPlaylistItem(int nIndex) = 0;
    virtual void ClearPlaylist() = 0;
    virtual void Tick() = 0;
    virtual void GetDetailedInfo(int* pBitRate, int* pSampleRate, int* pChannels) = 0;
    virtual void ToggleFullScreen() = 0;
    virtual void Seek(int nSeconds) = 0;
    virtual void GetPlaylistLength(int* pCount) = 0;

    // Controllers are deleted through this interface, so each one's clean-up runs.
    virtual ~CPlayerController() {}
};

class CControllerLog;

// Creates the controller for one kind, reporting to log; the caller owns it.
CPlayerController* CreateController(int nKind, CControllerLog& log);

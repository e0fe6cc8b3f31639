// The one interface through which every command reaches a media application.
// Each operation does nothing by default, so a controller writes only what its
// application can do.
#pragma once
#include <stddef.h>

// Play state byte, as the phone reads it.
typedef unsigned char PlayState;
const PlayState PLAY_STATE_STOPPED = 0;
const PlayState PLAY_STATE_PLAYING = 1;
const PlayState PLAY_STATE_PAUSED = 3;

// The title buffer handed to GetStatus, and so at most 255 title bytes.
const unsigned STATUS_TITLE_SIZE = 256;

class CPlayerController
{
public:
    // Finds the application or, with bStart, starts it; 1 when it runs.
    virtual int EnsureRunning(const char*, int) { return 1; }
    virtual int QueryVersion() { return 0; }
    // By default: stopped, no length or position (-1), no title.
    virtual void GetStatus(PlayState* pState, int* pLength, int* pPosition, int* pShuffle,
                           int* pRepeat, char* pszTitle, unsigned nTitleSize, int bWait);
    virtual void PlayFile(const char*) {}
    virtual void AddFile(const char*) {}
    virtual void SetVolume(int) {}
    // The volume, 0..255, for the web page that shows it; -1 when the
    // application cannot tell. Never asked for a phone's command.
    virtual int GetVolume() { return -1; }
    virtual void Play() {}
    virtual void Pause() {}
    virtual void Stop(int) {}
    virtual void FastForward() {}
    virtual void Rewind() {}
    virtual void NextTrack() {}
    virtual void PreviousTrack() {}
    virtual void SetShuffle(int) {}
    virtual void SetRepeat(int) {}
    // The text is allocated with malloc; the caller frees it. No playlist: NULL, 0, 0.
    virtual void GetPlaylist(char** ppText, int* pSize, int* pIndex);
    virtual void SelectPlaylistItem(int) {}
    virtual void ClearPlaylist() {}
    // Once a second, on the window's thread.
    virtual void Tick() {}
    // No details by default: zeros.
    virtual void GetDetailedInfo(int* pBitRate, int* pSampleRate, int* pChannels);
    virtual void ToggleFullScreen() {}
    virtual void Seek(int) {}
    virtual void GetPlaylistLength(int* pCount) { *pCount = 0; }

    // Controllers are deleted through this interface, so each one's clean-up runs.
    virtual ~CPlayerController() {}

protected:
    // The status of an application that tells only its play state.
    static void WriteStateOnly(PlayState nState, PlayState* pState, int* pLength, int* pPosition,
                               int* pShuffle, int* pRepeat, char* pszTitle, unsigned nTitleSize);
};

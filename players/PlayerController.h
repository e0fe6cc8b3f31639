// The one interface through which every command reaches a media application.
// Each operation does nothing by default, so a controller writes only what its
// application can do.
#pragma once
#include <stddef.h>
#include <string>
#include <vector>

// Play state byte, as the phone reads it.
typedef unsigned char PlayState;
const PlayState PLAY_STATE_STOPPED = 0;
const PlayState PLAY_STATE_PLAYING = 1;
const PlayState PLAY_STATE_PAUSED = 3;

// The title buffer handed to GetStatus, and so at most 255 title bytes.
const unsigned STATUS_TITLE_SIZE = 256;

// An app that publishes what it plays to the system, and whether it is the one driven.
struct MediaApp
{
    std::string id;   // UTF-8, as the system names the app
    std::string name; // readable, UTF-8
    bool bDriven;
};

// What the web page shows beyond the status, in UTF-8; empty where the player
// tells nothing of it.
struct MediaDetails
{
    MediaDetails() : nArtworkVersion(0), bAppChosen(false) {}
    std::string title; // the track's own title, without the artist
    std::string artist;
    std::string album;
    std::string appName;        // the app that plays it
    std::string artworkType;    // the artwork's MIME type as the app tells it; "" with none
    unsigned nArtworkVersion;   // changes whenever the artwork may have
    std::vector<MediaApp> apps; // every app that could be driven instead
    bool bAppChosen;            // an app was chosen, rather than the system's current one
};

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

    // For the web page only, never for a phone's command: what plays beyond
    // the status, its artwork (bytes, MIME type and the version they belong to;
    // false with none) and the choice of the app driven ("" for the system's
    // current one; false when no app of that id can be driven).
    virtual void GetMediaDetails(MediaDetails*) {}
    virtual bool GetArtwork(std::string*, std::string*, unsigned*) { return false; }
    virtual bool ChooseMediaApp(const std::string&) { return false; }
    // An auto-reset event (a HANDLE) set when what plays may have changed, for
    // the one thread that watches it; NULL when the application tells no changes.
    virtual void* ChangeEvent() { return NULL; }

    // False while the application's window does not answer: its commands are
    // then skipped as for an application that is not running.
    virtual bool IsAnswering() { return true; }

    // Controllers are deleted through this interface, so each one's clean-up runs.
    virtual ~CPlayerController() {}

protected:
    // The status of an application that tells only its play state.
    static void WriteStateOnly(PlayState nState, PlayState* pState, int* pLength, int* pPosition,
                               int* pShuffle, int* pRepeat, char* pszTitle, unsigned nTitleSize);
};

// Drives whichever player the system hands the media keys to. Where the system
// has media sessions (Windows 10 1809 on), the app's own session says what plays
// and takes play, pause, stop, next, previous, seek, shuffle and repeat; without
// one, or for what its app does not allow, the keys stand in as on a media
// keyboard, with a play state of its own. The volume is the system's own, and
// files open in the player registered for their type.
#pragma once
#include <windows.h>
#include "MediaSessions.h"
#include "PathNotice.h"
#include "PlayerController.h"

class CControllerLog;
struct MediaKey;

class CMediaKeysController : public CPlayerController
{
public:
    explicit CMediaKeysController(CControllerLog& log);

    int EnsureRunning(const char* pszAppPath, int bStart) override;
    void GetStatus(PlayState* pState, int* pLength, int* pPosition, int* pShuffle, int* pRepeat,
                   char* pszTitle, unsigned nTitleSize, int bWait) override;
    void PlayFile(const char* pszPath) override;
    void AddFile(const char* pszPath) override;
    void SetVolume(int nVolume) override;
    int GetVolume() override;
    void Play() override;
    void Pause() override;
    void Stop(int nMode) override;
    void NextTrack() override;
    void PreviousTrack() override;
    void SetShuffle(int nOn) override;
    void SetRepeat(int nOn) override;
    void Seek(int nSeconds) override;
    // What the session tells, its artwork, the apps with a session and the
    // choice of the one driven; from any thread.
    void GetMediaDetails(MediaDetails* pDetails) override;
    bool GetArtwork(std::string* pBytes, std::string* pType, unsigned* pnVersion) override;
    bool ChooseMediaApp(const std::string& appId) override;
    void* ChangeEvent() override { return m_sessions.ChangeEvent(); }

private:
    bool SessionTakes(SessionRequest request, int nArgument);
    bool Press(const MediaKey& key);
    bool PressVolumeKeys(int nPresses);
    void OpenWithDefaultVerb(const char* pszPath);

    CControllerLog& m_log;
    CPathNotice m_exePathNotice;
    PlayState m_nPlayState;
    // The volume, 0..255, that the volume keys are believed to have left; any
    // volume set directly on the system replaces it.
    int m_nVolume;
    // Whether the log has said that the volume keys stand in for the system volume.
    bool m_bVolumeKeysSaid;
    CMediaSessions m_sessions;
};

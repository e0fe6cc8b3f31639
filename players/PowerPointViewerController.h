// Runs a slide show in the PowerPoint Viewer through its automation server: PLAY
// opens the presentation as a show, NEXT, PREV and STRT move through it, STOP ends
// the show and closes the viewer. The PC's power-saving timeouts stay off meanwhile.
#pragma once
#include "AutomationThread.h"
#include "ControllerLog.h"
#include "PlayerController.h"
#include "PowerSaving.h"
#include "SlideShow.h"
#include "ViewerAutomation.h"
#include "../framework/ScopedCom.h"

class CPowerPointViewerController : public CPlayerController
{
public:
    explicit CPowerPointViewerController(CControllerLog& log);

    int EnsureRunning(const char*, int) override { return 1; }
    int QueryVersion() override { return 0; }
    void GetStatus(PlayState* pState, int* pLength, int* pPosition, int* pShuffle, int* pRepeat,
                   char* pszTitle, unsigned nTitleSize, int bWait) override;
    void PlayFile(const char* pszPath) override;
    void AddFile(const char*) override {}
    void SetVolume(int) override {}
    void Play() override;
    void Pause() override {}
    void Stop(int nMode) override;
    void FastForward() override {}
    void Rewind() override {}
    void NextTrack() override;
    void PreviousTrack() override;
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

    virtual ~CPowerPointViewerController();

private:
    CPowerPointViewerController(const CPowerPointViewerController&);
    CPowerPointViewerController& operator=(const CPowerPointViewerController&);

    void RunOperation(int nOperation, const char* pszPath);
    static void RunOnThread(void* pSelf, int nOperation, const char* pszPath,
                            AutomationOutcome& outcome);
    static void DroppedOnThread(void* pSelf, int nOperation);
    // On the automation thread.
    void ForgetClosedViewer();
    void ShowPresentation(const char* pszPath, AutomationOutcome& outcome);
    void FirstSlideOrRestart(AutomationOutcome& outcome);
    void EndShowAndQuit(AutomationOutcome& outcome);

    CComRef<ViewerApplication> m_pViewer;
    CComRef<ViewerShow> m_pShow;
    char m_szPresentation[PRESENTATION_PATH_SIZE];
    CSavedTimeouts m_nSavedTimeouts;
    CControllerLog& m_log;
    CAutomationThread m_thread;
};

// Runs a slide show in PowerPoint through its automation objects: PLAY opens the
// presentation and starts its show, NEXT, PREV and STRT move through it, STOP
// quits PowerPoint. The PC's power-saving timeouts stay off while a show runs.
#pragma once
#include "AutomationThread.h"
#include "ControllerLog.h"
#include "PlayerController.h"
#include "PowerPointAutomation.h"
#include "PowerSaving.h"
#include "SlideShow.h"
#include "../framework/ScopedCom.h"

class CPowerPointController : public CPlayerController
{
public:
    explicit CPowerPointController(CControllerLog& log);

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

    virtual ~CPowerPointController();

private:
    CPowerPointController(const CPowerPointController&);
    CPowerPointController& operator=(const CPowerPointController&);

    void RunOperation(int nOperation, const char* pszPath);
    static void RunOnThread(void* pSelf, int nOperation, const char* pszPath,
                            AutomationOutcome& outcome);
    static void DroppedOnThread(void* pSelf, int nOperation);
    // On the automation thread.
    void ForgetClosedPowerPoint();
    void ShowPresentation(const char* pszPath, AutomationOutcome& outcome);
    void FirstSlideOrRestart(AutomationOutcome& outcome);
    void NextSlideUnlessLast(AutomationOutcome& outcome);
    void Previous(AutomationOutcome& outcome);
    void QuitPowerPoint(AutomationOutcome& outcome);
    bool GetView(CComRef<PptSlideShowView>& view, AutomationOutcome& outcome);

    CComRef<PptApplication> m_pApp;
    int m_nSlideCount;
    char m_szPresentation[PRESENTATION_PATH_SIZE];
    CSavedTimeouts m_nSavedTimeouts;
    CControllerLog& m_log;
    CAutomationThread m_thread;
};

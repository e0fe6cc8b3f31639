// Runs a slide show through a presentation program's automation server: PLAY
// opens the presentation and starts its show, NEXT, PREV and STRT move through
// it, STOP ends it. The PC's power-saving timeouts stay off while a show runs.
// What differs between the programs is their back end; every call to it runs on
// the controller's own automation thread.
#pragma once
#include "AutomationThread.h"
#include "ControllerLog.h"
#include "PlayerController.h"
#include "PowerSaving.h"
#include "SlideShow.h"

// One presentation program's automation objects, used on the automation thread only.
class CSlideShowBackEnd
{
public:
    virtual ~CSlideShowBackEnd() {}
    virtual const char* AppName() const = 0;
    // The message box's text when the program cannot be created.
    virtual const char* LoadError() const = 0;
    // Opens the presentation and starts its show: true once it runs. Sets
    // outcome.bNotCreated when the program can't be created, and *pbRemember when
    // the path is to be shown again by a later PLAY.
    virtual bool ShowPresentation(const char* pszPath, bool* pbRemember,
                                  AutomationOutcome& outcome) = 0;
    // Whether there is a show (or program) to drive.
    virtual bool IsOpen() const = 0;
    virtual void FirstSlide(AutomationOutcome& outcome) = 0;
    virtual void NextSlide(AutomationOutcome& outcome) = 0;
    virtual void PreviousSlide(AutomationOutcome& outcome) = 0;
    // Ends the show and the program; true once both have ended.
    virtual bool EndShow(AutomationOutcome& outcome) = 0;
    // Lets go of every reference.
    virtual void Release() = 0;
};

class CSlideShowController : public CPlayerController
{
public:
    // Takes ownership of the back end.
    CSlideShowController(CSlideShowBackEnd* pBackEnd, CControllerLog& log);
    virtual ~CSlideShowController();

    // A show counts as playing, always.
    void GetStatus(PlayState* pState, int* pLength, int* pPosition, int* pShuffle, int* pRepeat,
                   char* pszTitle, unsigned nTitleSize, int bWait) override;
    void PlayFile(const char* pszPath) override;
    void Play() override;
    void Stop(int nMode) override;
    void NextTrack() override;
    void PreviousTrack() override;

private:
    CSlideShowController(const CSlideShowController&);
    CSlideShowController& operator=(const CSlideShowController&);

    void RunOperation(int nOperation, const char* pszPath);
    static void RunOnThread(void* pSelf, int nOperation, const char* pszPath,
                            AutomationOutcome& outcome);
    static void DroppedOnThread(void* pSelf, int nOperation);
    // On the automation thread.
    void ShowPresentation(const char* pszPath, AutomationOutcome& outcome);
    void FirstSlideOrRestart(AutomationOutcome& outcome);

    CSlideShowBackEnd* m_pBackEnd;
    char m_szPresentation[PRESENTATION_PATH_SIZE];
    CSavedTimeouts m_nSavedTimeouts;
    CControllerLog& m_log;
    CAutomationThread m_thread;
};

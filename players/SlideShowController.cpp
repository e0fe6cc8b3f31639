#include "SlideShowController.h"
#include <string.h>

CSlideShowController::CSlideShowController(CSlideShowBackEnd* pBackEnd, CControllerLog& log)
    : m_pBackEnd(pBackEnd), m_nSavedTimeouts(CallSystemParameter), m_log(log),
      m_thread(RunOnThread, DroppedOnThread, this)
{
    m_szPresentation[0] = '\0';
}

CSlideShowController::~CSlideShowController()
{
    // Nothing is said to the program: a show still running stays open. The
    // thread has released every reference once Finish returns.
    m_thread.Finish(OP_RELEASE, RELEASE_WAIT_MS, &m_log, m_pBackEnd->AppName());
    delete m_pBackEnd;
    m_nSavedTimeouts.Restore();
}

void CSlideShowController::GetStatus(PlayState* pState, int* pLength, int* pPosition, int* pShuffle,
                                     int* pRepeat, char* pszTitle, unsigned nTitleSize, int)
{
    WriteStateOnly(PLAY_STATE_PLAYING, pState, pLength, pPosition, pShuffle, pRepeat, pszTitle,
                   nTitleSize);
}

void CSlideShowController::PlayFile(const char* pszPath)
{
    RunOperation(OP_PLAY_FILE, pszPath);
}

void CSlideShowController::Play()
{
    RunOperation(OP_PLAY, NULL);
}

void CSlideShowController::Stop(int)
{
    RunOperation(OP_STOP, NULL);
}

void CSlideShowController::NextTrack()
{
    RunOperation(OP_NEXT, NULL);
}

void CSlideShowController::PreviousTrack()
{
    RunOperation(OP_PREVIOUS, NULL);
}

void CSlideShowController::RunOperation(int nOperation, const char* pszPath)
{
    AutomationOutcome outcome;
    if (m_thread.Run(nOperation, pszPath, outcome))
        ReportOutcome(outcome, m_pBackEnd->AppName(), m_pBackEnd->LoadError(), nOperation, m_log);
}

void CSlideShowController::DroppedOnThread(void* pSelf, int nOperation)
{
    CSlideShowController& self = *static_cast<CSlideShowController*>(pSelf);
    ReportDropped(self.m_pBackEnd->AppName(), nOperation, self.m_log);
}

void CSlideShowController::RunOnThread(void* pSelf, int nOperation, const char* pszPath,
                                       AutomationOutcome& outcome)
{
    CSlideShowController& self = *static_cast<CSlideShowController*>(pSelf);
    CSlideShowBackEnd& backEnd = *self.m_pBackEnd;
    switch (nOperation)
    {
    case OP_PLAY_FILE:
        self.ShowPresentation(pszPath, outcome);
        break;
    case OP_PLAY:
        self.FirstSlideOrRestart(outcome);
        break;
    case OP_STOP:
        if (backEnd.IsOpen() && backEnd.EndShow(outcome))
            self.m_nSavedTimeouts.Restore();
        break;
    case OP_NEXT:
        if (backEnd.IsOpen())
            backEnd.NextSlide(outcome);
        break;
    case OP_PREVIOUS:
        if (backEnd.IsOpen())
            backEnd.PreviousSlide(outcome);
        break;
    case OP_RELEASE:
        backEnd.Release();
        break;
    }
    // The user closed the program: its objects answer nothing any more. Letting
    // go of them makes the next PLAY start it again; no show runs, so the PC may sleep.
    if (ServerGone(outcome))
    {
        backEnd.Release();
        self.m_nSavedTimeouts.Restore();
    }
}

void CSlideShowController::ShowPresentation(const char* pszPath, AutomationOutcome& outcome)
{
    bool bRemember = false;
    bool bRunning = m_pBackEnd->ShowPresentation(pszPath, &bRemember, outcome);
    if (bRemember)
        RememberPresentation(m_szPresentation, sizeof(m_szPresentation), pszPath);
    if (bRunning)
        m_nSavedTimeouts.Suspend();
}

void CSlideShowController::FirstSlideOrRestart(AutomationOutcome& outcome)
{
    if (m_pBackEnd->IsOpen())
    {
        m_pBackEnd->FirstSlide(outcome);
        return;
    }
    if (m_szPresentation[0] == '\0')
        return;
    // The path is remembered again as part of showing it: pass a copy.
    char szPath[PRESENTATION_PATH_SIZE];
    memcpy(szPath, m_szPresentation, sizeof(szPath));
    ShowPresentation(szPath, outcome);
}

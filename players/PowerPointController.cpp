#include "PowerPointController.h"
#include <string.h>

static const char* const APP_NAME = "PowerPoint";
static const char* const LOAD_ERROR =
    "Couldn't load PowerPoint 2003. Is the correct version installed?";

CPowerPointController::CPowerPointController(CControllerLog& log)
    : m_nSlideCount(0), m_nSavedTimeouts(CallSystemParameter), m_log(log),
      m_thread(RunOnThread, DroppedOnThread, this)
{
    m_szPresentation[0] = '\0';
}

CPowerPointController::~CPowerPointController()
{
    // Nothing is said to PowerPoint: a show still running stays open.
    m_thread.Finish(OP_RELEASE, RELEASE_WAIT_MS);
    // Left only by a thread ended from outside: its apartment is gone with it.
    m_pApp.Detach();
    m_nSavedTimeouts.Restore();
}

void CPowerPointController::GetStatus(PlayState* pState, int* pLength, int* pPosition,
                                      int* pShuffle, int* pRepeat, char* pszTitle,
                                      unsigned nTitleSize, int)
{
    WriteSlideShowStatus(pState, pLength, pPosition, pShuffle, pRepeat, pszTitle, nTitleSize);
}

void CPowerPointController::GetPlaylist(char** ppText, int* pSize, int* pIndex)
{
    WriteNoPlaylist(ppText, pSize, pIndex);
}

void CPowerPointController::GetDetailedInfo(int* pBitRate, int* pSampleRate, int* pChannels)
{
    WriteNoDetails(pBitRate, pSampleRate, pChannels);
}

void CPowerPointController::PlayFile(const char* pszPath)
{
    RunOperation(OP_PLAY_FILE, pszPath);
}

void CPowerPointController::Play()
{
    RunOperation(OP_PLAY, NULL);
}

void CPowerPointController::Stop(int)
{
    RunOperation(OP_STOP, NULL);
}

void CPowerPointController::NextTrack()
{
    RunOperation(OP_NEXT, NULL);
}

void CPowerPointController::PreviousTrack()
{
    RunOperation(OP_PREVIOUS, NULL);
}

void CPowerPointController::RunOperation(int nOperation, const char* pszPath)
{
    AutomationOutcome outcome;
    if (m_thread.Run(nOperation, pszPath, outcome))
        ReportOutcome(outcome, APP_NAME, LOAD_ERROR, nOperation, m_log);
}

void CPowerPointController::DroppedOnThread(void* pSelf, int nOperation)
{
    ReportDropped(APP_NAME, nOperation, static_cast<CPowerPointController*>(pSelf)->m_log);
}

void CPowerPointController::RunOnThread(void* pSelf, int nOperation, const char* pszPath,
                                        AutomationOutcome& outcome)
{
    CPowerPointController& self = *static_cast<CPowerPointController*>(pSelf);
    switch (nOperation)
    {
    case OP_PLAY_FILE:
        self.ShowPresentation(pszPath, outcome);
        break;
    case OP_PLAY:
        self.FirstSlideOrRestart(outcome);
        break;
    case OP_STOP:
        self.QuitPowerPoint(outcome);
        break;
    case OP_NEXT:
        self.NextSlideUnlessLast(outcome);
        break;
    case OP_PREVIOUS:
        self.Previous(outcome);
        break;
    case OP_RELEASE:
        self.m_pApp.Reset();
        break;
    }
    if (ServerGone(outcome))
        self.ForgetClosedPowerPoint();
}

// The user closed PowerPoint: its objects answer nothing any more. Letting go of
// them makes the next PLAY start PowerPoint again; no show runs, so the PC may sleep.
void CPowerPointController::ForgetClosedPowerPoint()
{
    m_pApp.Reset();
    m_nSavedTimeouts.Restore();
}

void CPowerPointController::ShowPresentation(const char* pszPath, AutomationOutcome& outcome)
{
    if (m_pApp.IsEmpty() && FAILED(AttachApplication(CLSID_PowerPointApplication,
                                                     IID_PptApplication, m_pApp.ReceiveVoid())))
    {
        outcome.bNotCreated = true;
        return;
    }
    RememberPresentation(m_szPresentation, sizeof(m_szPresentation), pszPath);
    CComRef<PptPresentation> presentation;
    LONG nCount = 0;
    if (!SetVisible(m_pApp.Get(), outcome) || !OpenPresentation(m_pApp.Get(), pszPath, outcome) ||
        !GetActivePresentation(m_pApp.Get(), presentation, outcome) ||
        !CountSlides(presentation.Get(), &nCount, outcome))
        return;
    m_nSlideCount = nCount;
    if (!GetActivePresentation(m_pApp.Get(), presentation, outcome) ||
        !RunSlideShow(presentation.Get(), outcome))
        return;
    m_nSavedTimeouts.Suspend();
}

void CPowerPointController::FirstSlideOrRestart(AutomationOutcome& outcome)
{
    if (m_pApp.IsEmpty())
    {
        if (m_szPresentation[0] == '\0')
            return;
        // The path is remembered again as part of showing it: pass a copy.
        char szPath[PRESENTATION_PATH_SIZE];
        memcpy(szPath, m_szPresentation, sizeof(szPath));
        ShowPresentation(szPath, outcome);
        return;
    }
    CComRef<PptSlideShowView> view;
    if (GetView(view, outcome))
        FirstSlide(view.Get(), outcome);
}

void CPowerPointController::NextSlideUnlessLast(AutomationOutcome& outcome)
{
    if (m_pApp.IsEmpty())
        return;
    CComRef<PptSlideShowView> view;
    LONG nPosition = 0;
    if (!GetView(view, outcome) || !GetCurrentShowPosition(view.Get(), &nPosition, outcome))
        return;
    // PowerPoint ends the show on a Next from the last slide; the phone keeps it there.
    if (nPosition >= m_nSlideCount)
        return;
    if (GetView(view, outcome))
        NextSlide(view.Get(), outcome);
}

void CPowerPointController::Previous(AutomationOutcome& outcome)
{
    if (m_pApp.IsEmpty())
        return;
    CComRef<PptSlideShowView> view;
    if (GetView(view, outcome))
        PreviousSlide(view.Get(), outcome);
}

void CPowerPointController::QuitPowerPoint(AutomationOutcome& outcome)
{
    if (m_pApp.IsEmpty())
        return;
    if (!QuitApplication(m_pApp.Get(), outcome))
        return;
    m_pApp.Reset();
    m_nSavedTimeouts.Restore();
}

bool CPowerPointController::GetView(CComRef<PptSlideShowView>& view, AutomationOutcome& outcome)
{
    CComRef<PptPresentation> presentation;
    return GetActivePresentation(m_pApp.Get(), presentation, outcome) &&
           GetSlideShowView(presentation.Get(), view, outcome);
}

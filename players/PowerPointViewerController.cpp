#include "PowerPointViewerController.h"
#include <string.h>

static const char* const APP_NAME = "PowerPoint Viewer";
static const char* const LOAD_ERROR =
    "Couldn't load PowerPoint Viewer. Is the correct version installed?";

CPowerPointViewerController::CPowerPointViewerController(CControllerLog& log)
    : m_nSavedTimeouts(CallSystemParameter), m_log(log),
      m_thread(RunOnThread, DroppedOnThread, this)
{
    m_szPresentation[0] = '\0';
}

CPowerPointViewerController::~CPowerPointViewerController()
{
    // Nothing is said to the viewer: a show still running stays open.
    m_thread.Finish(OP_RELEASE, RELEASE_WAIT_MS);
    // Left only by a thread ended from outside: their apartment is gone with it.
    m_pShow.Detach();
    m_pViewer.Detach();
    m_nSavedTimeouts.Restore();
}

void CPowerPointViewerController::GetStatus(PlayState* pState, int* pLength, int* pPosition,
                                            int* pShuffle, int* pRepeat, char* pszTitle,
                                            unsigned nTitleSize, int)
{
    WriteSlideShowStatus(pState, pLength, pPosition, pShuffle, pRepeat, pszTitle, nTitleSize);
}

void CPowerPointViewerController::GetPlaylist(char** ppText, int* pSize, int* pIndex)
{
    WriteNoPlaylist(ppText, pSize, pIndex);
}

void CPowerPointViewerController::GetDetailedInfo(int* pBitRate, int* pSampleRate, int* pChannels)
{
    WriteNoDetails(pBitRate, pSampleRate, pChannels);
}

void CPowerPointViewerController::PlayFile(const char* pszPath)
{
    RunOperation(OP_PLAY_FILE, pszPath);
}

void CPowerPointViewerController::Play()
{
    RunOperation(OP_PLAY, NULL);
}

void CPowerPointViewerController::Stop(int)
{
    RunOperation(OP_STOP, NULL);
}

void CPowerPointViewerController::NextTrack()
{
    RunOperation(OP_NEXT, NULL);
}

void CPowerPointViewerController::PreviousTrack()
{
    RunOperation(OP_PREVIOUS, NULL);
}

void CPowerPointViewerController::RunOperation(int nOperation, const char* pszPath)
{
    AutomationOutcome outcome;
    if (m_thread.Run(nOperation, pszPath, outcome))
        ReportOutcome(outcome, APP_NAME, LOAD_ERROR, nOperation, m_log);
}

void CPowerPointViewerController::DroppedOnThread(void* pSelf, int nOperation)
{
    ReportDropped(APP_NAME, nOperation, static_cast<CPowerPointViewerController*>(pSelf)->m_log);
}

void CPowerPointViewerController::RunOnThread(void* pSelf, int nOperation, const char* pszPath,
                                              AutomationOutcome& outcome)
{
    CPowerPointViewerController& self = *static_cast<CPowerPointViewerController*>(pSelf);
    switch (nOperation)
    {
    case OP_PLAY_FILE:
        self.ShowPresentation(pszPath, outcome);
        break;
    case OP_PLAY:
        self.FirstSlideOrRestart(outcome);
        break;
    case OP_STOP:
        self.EndShowAndQuit(outcome);
        break;
    case OP_NEXT:
        if (!self.m_pShow.IsEmpty())
            NextViewerSlide(self.m_pShow.Get(), outcome);
        break;
    case OP_PREVIOUS:
        if (!self.m_pShow.IsEmpty())
            PreviousViewerSlide(self.m_pShow.Get(), outcome);
        break;
    case OP_RELEASE:
        self.m_pShow.Reset();
        self.m_pViewer.Reset();
        break;
    }
    if (ServerGone(outcome))
        self.ForgetClosedViewer();
}

// The user closed the viewer: the show and the viewer answer nothing any more.
// Letting go of both makes the next PLAY start the viewer again; no show runs,
// so the PC may sleep.
void CPowerPointViewerController::ForgetClosedViewer()
{
    m_pShow.Reset();
    m_pViewer.Reset();
    m_nSavedTimeouts.Restore();
}

void CPowerPointViewerController::ShowPresentation(const char* pszPath, AutomationOutcome& outcome)
{
    if (m_pViewer.IsEmpty() &&
        FAILED(AttachApplication(CLSID_PowerPointViewer, IID_ViewerApplication,
                                 m_pViewer.ReceiveVoid())))
    {
        outcome.bNotCreated = true;
        return;
    }
    CComRef<ViewerShow> show;
    if (!OpenViewerShow(m_pViewer.Get(), pszPath, show, outcome))
        return;
    // The earlier show, if any, is let go but not ended. An open that hands back
    // no show leaves none to drive: the earlier one is no longer what the viewer shows.
    m_pShow.Assign(show.Get());
    if (m_pShow.IsEmpty())
    {
        Succeeded(E_POINTER, "Viewer.OpenShow", outcome);
        return;
    }
    RememberPresentation(m_szPresentation, sizeof(m_szPresentation), pszPath);
    m_nSavedTimeouts.Suspend();
}

void CPowerPointViewerController::FirstSlideOrRestart(AutomationOutcome& outcome)
{
    if (!m_pShow.IsEmpty())
    {
        FirstViewerSlide(m_pShow.Get(), outcome);
        return;
    }
    if (m_szPresentation[0] == '\0')
        return;
    // The path is remembered again as part of showing it: pass a copy.
    char szPath[PRESENTATION_PATH_SIZE];
    memcpy(szPath, m_szPresentation, sizeof(szPath));
    ShowPresentation(szPath, outcome);
}

void CPowerPointViewerController::EndShowAndQuit(AutomationOutcome& outcome)
{
    if (m_pShow.IsEmpty())
        return;
    if (!EndViewerShow(m_pShow.Get(), outcome))
        return;
    m_pShow.Reset();
    if (!QuitViewer(m_pViewer.Get(), outcome))
        return;
    m_pViewer.Reset();
    m_nSavedTimeouts.Restore();
}

#include "ViewerShow.h"

bool CViewerShow::ShowPresentation(const char* pszPath, bool* pbRemember,
                                   AutomationOutcome& outcome)
{
    if (m_pViewer.IsEmpty() &&
        FAILED(AttachApplication(CLSID_PowerPointViewer, IID_ViewerApplication,
                                 m_pViewer.ReceiveVoid())))
    {
        outcome.bNotCreated = true;
        return false;
    }
    CComRef<ViewerShow> show;
    if (!OpenViewerShow(m_pViewer.Get(), pszPath, show, outcome))
        return false;
    // The earlier show, if any, is let go but not ended. An open that hands back
    // no show leaves none to drive: the earlier one is no longer what the viewer shows.
    m_pShow.Assign(show.Get());
    if (m_pShow.IsEmpty())
        return Succeeded(E_POINTER, "Viewer.OpenShow", outcome);
    *pbRemember = true;
    return true;
}

void CViewerShow::FirstSlide(AutomationOutcome& outcome)
{
    FirstViewerSlide(m_pShow.Get(), outcome);
}

void CViewerShow::NextSlide(AutomationOutcome& outcome)
{
    NextViewerSlide(m_pShow.Get(), outcome);
}

void CViewerShow::PreviousSlide(AutomationOutcome& outcome)
{
    PreviousViewerSlide(m_pShow.Get(), outcome);
}

bool CViewerShow::EndShow(AutomationOutcome& outcome)
{
    if (!EndViewerShow(m_pShow.Get(), outcome))
        return false;
    m_pShow.Reset();
    if (!QuitViewer(m_pViewer.Get(), outcome))
        return false;
    m_pViewer.Reset();
    return true;
}

void CViewerShow::Release()
{
    m_pShow.Reset();
    m_pViewer.Reset();
}

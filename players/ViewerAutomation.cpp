#include "ViewerAutomation.h"

bool OpenViewerShow(ViewerApplication* pViewer, const char* pszFileName, CComRef<ViewerShow>& show,
                    AutomationOutcome& outcome)
{
    CScopedBstr fileName(pszFileName);
    if (!fileName.Get())
        return Succeeded(E_OUTOFMEMORY, "SysAllocStringLen", outcome);
    HRESULT hr = pViewer ? pViewer->pTable->OpenShow(pViewer, fileName.Get(), 1, -1, show.Receive())
                         : E_POINTER;
    return Succeeded(hr, "Viewer.OpenShow", outcome);
}

bool QuitViewer(ViewerApplication* pViewer, AutomationOutcome& outcome)
{
    HRESULT hr = pViewer ? pViewer->pTable->Quit(pViewer) : E_POINTER;
    return Succeeded(hr, "Viewer.Quit", outcome);
}

bool NextViewerSlide(ViewerShow* pShow, AutomationOutcome& outcome)
{
    HRESULT hr = pShow ? pShow->pTable->Next(pShow) : E_POINTER;
    return Succeeded(hr, "SlideShow.Next", outcome);
}

bool PreviousViewerSlide(ViewerShow* pShow, AutomationOutcome& outcome)
{
    HRESULT hr = pShow ? pShow->pTable->Previous(pShow) : E_POINTER;
    return Succeeded(hr, "SlideShow.Previous", outcome);
}

bool FirstViewerSlide(ViewerShow* pShow, AutomationOutcome& outcome)
{
    HRESULT hr = pShow ? pShow->pTable->GotoSlide(pShow, 1, -1) : E_POINTER;
    return Succeeded(hr, "SlideShow.GotoSlide", outcome);
}

bool EndViewerShow(ViewerShow* pShow, AutomationOutcome& outcome)
{
    HRESULT hr = pShow ? pShow->pTable->EndShow(pShow) : E_POINTER;
    return Succeeded(hr, "SlideShow.EndShow", outcome);
}

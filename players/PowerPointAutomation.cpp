#include "PowerPointAutomation.h"

// msoTrue, which PowerPoint's tri-state arguments take for "yes".
static const LONG MSO_TRUE = -1;

bool SetVisible(PptApplication* pApp, AutomationOutcome& outcome)
{
    HRESULT hr = pApp ? pApp->pTable->put_Visible(pApp, MSO_TRUE) : E_POINTER;
    return Succeeded(hr, "Application.Visible", outcome);
}

bool OpenPresentation(PptApplication* pApp, const char* pszFileName, AutomationOutcome& outcome)
{
    CComRef<PptPresentations> presentations;
    HRESULT hr = pApp ? pApp->pTable->get_Presentations(pApp, presentations.Receive()) : E_POINTER;
    if (!Succeeded(hr, "Application.Presentations", outcome))
        return false;
    CScopedBstr fileName(pszFileName);
    if (!fileName.Get())
        return Succeeded(E_OUTOFMEMORY, "SysAllocStringLen", outcome);
    PptPresentations* pPresentations = presentations.Get();
    CComRef<PptPresentation> opened;
    // Read-write, titled, and in a window (1 here, not msoTrue).
    hr = pPresentations ? pPresentations->pTable->Open(pPresentations, fileName.Get(), 0, 0, 1,
                                                       opened.Receive())
                        : E_POINTER;
    return Succeeded(hr, "Presentations.Open", outcome);
}

bool GetActivePresentation(PptApplication* pApp, CComRef<PptPresentation>& presentation,
                           AutomationOutcome& outcome)
{
    HRESULT hr =
        pApp ? pApp->pTable->get_ActivePresentation(pApp, presentation.Receive()) : E_POINTER;
    return Succeeded(hr, "Application.ActivePresentation", outcome);
}

bool CountSlides(PptPresentation* pPresentation, LONG* pnCount, AutomationOutcome& outcome)
{
    CComRef<PptSlides> slides;
    HRESULT hr = pPresentation ? pPresentation->pTable->get_Slides(pPresentation, slides.Receive())
                               : E_POINTER;
    if (!Succeeded(hr, "Presentation.Slides", outcome))
        return false;
    PptSlides* pSlides = slides.Get();
    hr = pSlides ? pSlides->pTable->get_Count(pSlides, pnCount) : E_POINTER;
    return Succeeded(hr, "Slides.Count", outcome);
}

bool RunSlideShow(PptPresentation* pPresentation, AutomationOutcome& outcome)
{
    CComRef<PptSlideShowSettings> settings;
    HRESULT hr = pPresentation ? pPresentation->pTable->get_SlideShowSettings(pPresentation,
                                                                              settings.Receive())
                               : E_POINTER;
    if (!Succeeded(hr, "Presentation.SlideShowSettings", outcome))
        return false;
    PptSlideShowSettings* pSettings = settings.Get();
    CComRef<PptSlideShowWindow> window;
    hr = pSettings ? pSettings->pTable->Run(pSettings, window.Receive()) : E_POINTER;
    return Succeeded(hr, "SlideShowSettings.Run", outcome);
}

bool GetSlideShowView(PptPresentation* pPresentation, CComRef<PptSlideShowView>& view,
                      AutomationOutcome& outcome)
{
    CComRef<PptSlideShowWindow> window;
    HRESULT hr = pPresentation
                     ? pPresentation->pTable->get_SlideShowWindow(pPresentation, window.Receive())
                     : E_POINTER;
    if (!Succeeded(hr, "Presentation.SlideShowWindow", outcome))
        return false;
    PptSlideShowWindow* pWindow = window.Get();
    hr = pWindow ? pWindow->pTable->get_View(pWindow, view.Receive()) : E_POINTER;
    return Succeeded(hr, "SlideShowWindow.View", outcome);
}

bool GetCurrentShowPosition(PptSlideShowView* pView, LONG* pnPosition, AutomationOutcome& outcome)
{
    HRESULT hr = pView ? pView->pTable->get_CurrentShowPosition(pView, pnPosition) : E_POINTER;
    return Succeeded(hr, "SlideShowView.CurrentShowPosition", outcome);
}

bool FirstSlide(PptSlideShowView* pView, AutomationOutcome& outcome)
{
    HRESULT hr = pView ? pView->pTable->First(pView) : E_POINTER;
    return Succeeded(hr, "SlideShowView.First", outcome);
}

bool NextSlide(PptSlideShowView* pView, AutomationOutcome& outcome)
{
    HRESULT hr = pView ? pView->pTable->Next(pView) : E_POINTER;
    return Succeeded(hr, "SlideShowView.Next", outcome);
}

bool PreviousSlide(PptSlideShowView* pView, AutomationOutcome& outcome)
{
    HRESULT hr = pView ? pView->pTable->Previous(pView) : E_POINTER;
    return Succeeded(hr, "SlideShowView.Previous", outcome);
}

bool QuitApplication(PptApplication* pApp, AutomationOutcome& outcome)
{
    HRESULT hr = pApp ? pApp->pTable->Quit(pApp) : E_POINTER;
    return Succeeded(hr, "Application.Quit", outcome);
}

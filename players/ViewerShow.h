// The PowerPoint Viewer as a slide-show back end: the viewer object and the show
// it opened.
#pragma once
#include "SlideShowController.h"
#include "ViewerAutomation.h"

class CViewerShow : public CSlideShowBackEnd
{
public:
    const char* AppName() const override { return "PowerPoint Viewer"; }
    const char* LoadError() const override
    {
        return "Couldn't load PowerPoint Viewer. Is the correct version installed?";
    }
    bool ShowPresentation(const char* pszPath, bool* pbRemember,
                          AutomationOutcome& outcome) override;
    bool IsOpen() const override { return !m_pShow.IsEmpty(); }
    void FirstSlide(AutomationOutcome& outcome) override;
    void NextSlide(AutomationOutcome& outcome) override;
    void PreviousSlide(AutomationOutcome& outcome) override;
    bool EndShow(AutomationOutcome& outcome) override;
    void Release() override;

private:
    CComRef<ViewerApplication> m_pViewer;
    CComRef<ViewerShow> m_pShow;
};

// PowerPoint as a slide-show back end: the application object, its active
// presentation and the presentation's slide show view. NEXT on the last slide is
// not passed on, since PowerPoint would end the show.
#pragma once
#include "PowerPointAutomation.h"
#include "SlideShowController.h"

class CPowerPointShow : public CSlideShowBackEnd
{
public:
    CPowerPointShow() : m_nSlideCount(0) {}
    const char* AppName() const override { return "PowerPoint"; }
    const char* LoadError() const override
    {
        return "Couldn't load PowerPoint 2003. Is the correct version installed?";
    }
    bool ShowPresentation(const char* pszPath, bool* pbRemember,
                          AutomationOutcome& outcome) override;
    bool IsOpen() const override { return !m_pApp.IsEmpty(); }
    void FirstSlide(AutomationOutcome& outcome) override;
    void NextSlide(AutomationOutcome& outcome) override;
    void PreviousSlide(AutomationOutcome& outcome) override;
    bool EndShow(AutomationOutcome& outcome) override;
    void Release() override { m_pApp.Reset(); }

private:
    bool GetView(CComRef<PptSlideShowView>& view, AutomationOutcome& outcome);

    CComRef<PptApplication> m_pApp;
    int m_nSlideCount;
};

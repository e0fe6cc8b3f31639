#include "PowerPointShow.h"

bool CPowerPointShow::ShowPresentation(const char* pszPath, bool* pbRemember,
                                       AutomationOutcome& outcome)
{
    if (m_pApp.IsEmpty() && FAILED(AttachApplication(CLSID_PowerPointApplication,
                                                     IID_PptApplication, m_pApp.ReceiveVoid())))
    {
        outcome.bNotCreated = true;
        return false;
    }
    *pbRemember = true;
    CComRef<PptPresentation> presentation;
    LONG nCount = 0;
    if (!SetVisible(m_pApp.Get(), outcome) || !OpenPresentation(m_pApp.Get(), pszPath, outcome) ||
        !GetActivePresentation(m_pApp.Get(), presentation, outcome) ||
        !CountSlides(presentation.Get(), &nCount, outcome))
        return false;
    m_nSlideCount = nCount;
    return GetActivePresentation(m_pApp.Get(), presentation, outcome) &&
           RunSlideShow(presentation.Get(), outcome);
}

void CPowerPointShow::FirstSlide(AutomationOutcome& outcome)
{
    CComRef<PptSlideShowView> view;
    if (GetView(view, outcome))
        ::FirstSlide(view.Get(), outcome);
}

void CPowerPointShow::NextSlide(AutomationOutcome& outcome)
{
    CComRef<PptSlideShowView> view;
    LONG nPosition = 0;
    if (!GetView(view, outcome) || !GetCurrentShowPosition(view.Get(), &nPosition, outcome))
        return;
    // PowerPoint ends the show on a Next from the last slide; the phone keeps it there.
    if (nPosition >= m_nSlideCount)
        return;
    if (GetView(view, outcome))
        ::NextSlide(view.Get(), outcome);
}

void CPowerPointShow::PreviousSlide(AutomationOutcome& outcome)
{
    CComRef<PptSlideShowView> view;
    if (GetView(view, outcome))
        ::PreviousSlide(view.Get(), outcome);
}

bool CPowerPointShow::EndShow(AutomationOutcome& outcome)
{
    if (!QuitApplication(m_pApp.Get(), outcome))
        return false;
    m_pApp.Reset();
    return true;
}

bool CPowerPointShow::GetView(CComRef<PptSlideShowView>& view, AutomationOutcome& outcome)
{
    CComRef<PptPresentation> presentation;
    return GetActivePresentation(m_pApp.Get(), presentation, outcome) &&
           GetSlideShowView(presentation.Get(), view, outcome);
}

// PowerPoint's automation objects, declared by the positions of their function
// tables, and checked calls to the entries the controller uses.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <stddef.h>
#include "Automation.h"
#include "../framework/ScopedCom.h"

// {91493441-5A91-11CF-8700-00AA0060263B}
static const CLSID CLSID_PowerPointApplication = {
    0x91493441, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}};
// {91493442-5A91-11CF-8700-00AA0060263B}, _Application
static const IID IID_PptApplication = {
    0x91493442, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}};

// The tables begin with IUnknown's three entries and IDispatch's four (0 to 6).
struct PptApplication;
struct PptPresentations;
struct PptPresentation;
struct PptSlides;
struct PptSlideShowSettings;
struct PptSlideShowWindow;
struct PptSlideShowView;

struct PptApplicationTable
{
    void* pUnknownAndDispatch[7];
    HRESULT(STDMETHODCALLTYPE* get_Presentations)
    (PptApplication* pThis, PptPresentations** ppPresentations);
    void* pUnused8[3];
    HRESULT(STDMETHODCALLTYPE* get_ActivePresentation)
    (PptApplication* pThis, PptPresentation** ppPresentation);
    void* pUnused12[17];
    HRESULT(STDMETHODCALLTYPE* Quit)(PptApplication* pThis);
    void* pUnused30[14];
    HRESULT(STDMETHODCALLTYPE* put_Visible)(PptApplication* pThis, LONG nTriState);
};
CHECK_TABLE_POSITION(PptApplicationTable, get_Presentations, 7);
CHECK_TABLE_POSITION(PptApplicationTable, get_ActivePresentation, 11);
CHECK_TABLE_POSITION(PptApplicationTable, Quit, 29);
CHECK_TABLE_POSITION(PptApplicationTable, put_Visible, 44);

struct PptPresentationsTable
{
    void* pUnknownAndDispatch[7];
    void* pUnused7[8];
    HRESULT(STDMETHODCALLTYPE* Open)
    (PptPresentations* pThis, BSTR bstrFileName, LONG nReadOnly, LONG nUntitled, LONG nWithWindow,
     PptPresentation** ppPresentation);
};
CHECK_TABLE_POSITION(PptPresentationsTable, Open, 15);

struct PptPresentationTable
{
    void* pUnknownAndDispatch[7];
    void* pUnused7[10];
    HRESULT(STDMETHODCALLTYPE* get_Slides)(PptPresentation* pThis, PptSlides** ppSlides);
    void* pUnused18[3];
    HRESULT(STDMETHODCALLTYPE* get_SlideShowSettings)
    (PptPresentation* pThis, PptSlideShowSettings** ppSettings);
    void* pUnused22[37];
    HRESULT(STDMETHODCALLTYPE* get_SlideShowWindow)
    (PptPresentation* pThis, PptSlideShowWindow** ppWindow);
};
CHECK_TABLE_POSITION(PptPresentationTable, get_Slides, 17);
CHECK_TABLE_POSITION(PptPresentationTable, get_SlideShowSettings, 21);
CHECK_TABLE_POSITION(PptPresentationTable, get_SlideShowWindow, 59);

// Slides derives from Collection, whose Count it keeps at the same position.
struct PptSlidesTable
{
    void* pUnknownAndDispatch[7];
    void* pUnused7[2];
    HRESULT(STDMETHODCALLTYPE* get_Count)(PptSlides* pThis, LONG* pnCount);
};
CHECK_TABLE_POSITION(PptSlidesTable, get_Count, 9);

struct PptSlideShowSettingsTable
{
    void* pUnknownAndDispatch[7];
    void* pUnused7[10];
    HRESULT(STDMETHODCALLTYPE* Run)(PptSlideShowSettings* pThis, PptSlideShowWindow** ppWindow);
};
CHECK_TABLE_POSITION(PptSlideShowSettingsTable, Run, 17);

struct PptSlideShowWindowTable
{
    void* pUnknownAndDispatch[7];
    void* pUnused7[2];
    HRESULT(STDMETHODCALLTYPE* get_View)(PptSlideShowWindow* pThis, PptSlideShowView** ppView);
};
CHECK_TABLE_POSITION(PptSlideShowWindowTable, get_View, 9);

struct PptSlideShowViewTable
{
    void* pUnknownAndDispatch[7];
    void* pUnused7[20];
    HRESULT(STDMETHODCALLTYPE* First)(PptSlideShowView* pThis);
    void* pUnused28[1];
    HRESULT(STDMETHODCALLTYPE* Next)(PptSlideShowView* pThis);
    HRESULT(STDMETHODCALLTYPE* Previous)(PptSlideShowView* pThis);
    void* pUnused31[6];
    HRESULT(STDMETHODCALLTYPE* get_CurrentShowPosition)(PptSlideShowView* pThis, LONG* pnPosition);
};
CHECK_TABLE_POSITION(PptSlideShowViewTable, First, 27);
CHECK_TABLE_POSITION(PptSlideShowViewTable, Next, 29);
CHECK_TABLE_POSITION(PptSlideShowViewTable, Previous, 30);
CHECK_TABLE_POSITION(PptSlideShowViewTable, get_CurrentShowPosition, 37);

struct PptApplication
{
    const PptApplicationTable* pTable;
};
struct PptPresentations
{
    const PptPresentationsTable* pTable;
};
struct PptPresentation
{
    const PptPresentationTable* pTable;
};
struct PptSlides
{
    const PptSlidesTable* pTable;
};
struct PptSlideShowSettings
{
    const PptSlideShowSettingsTable* pTable;
};
struct PptSlideShowWindow
{
    const PptSlideShowWindowTable* pTable;
};
struct PptSlideShowView
{
    const PptSlideShowViewTable* pTable;
};

// Each call records a failure in the outcome under the member's name; an empty
// object gives E_POINTER.
bool SetVisible(PptApplication* pApp, AutomationOutcome& outcome);
bool OpenPresentation(PptApplication* pApp, const char* pszFileName, AutomationOutcome& outcome);
bool GetActivePresentation(PptApplication* pApp, CComRef<PptPresentation>& presentation,
                           AutomationOutcome& outcome);
bool CountSlides(PptPresentation* pPresentation, LONG* pnCount, AutomationOutcome& outcome);
bool RunSlideShow(PptPresentation* pPresentation, AutomationOutcome& outcome);
bool GetSlideShowView(PptPresentation* pPresentation, CComRef<PptSlideShowView>& view,
                      AutomationOutcome& outcome);
bool GetCurrentShowPosition(PptSlideShowView* pView, LONG* pnPosition, AutomationOutcome& outcome);
bool FirstSlide(PptSlideShowView* pView, AutomationOutcome& outcome);
bool NextSlide(PptSlideShowView* pView, AutomationOutcome& outcome);
bool PreviousSlide(PptSlideShowView* pView, AutomationOutcome& outcome);
bool QuitApplication(PptApplication* pApp, AutomationOutcome& outcome);

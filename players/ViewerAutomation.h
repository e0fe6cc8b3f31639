// The PowerPoint Viewer's automation server, declared by the positions of its
// function tables, and checked calls to the entries the controller uses.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <stddef.h>
#include "Automation.h"
#include "../framework/ScopedCom.h"

// {FCE18141-B12B-11D0-B06A-00AA0060271A}
static const CLSID CLSID_PowerPointViewer = {
    0xFCE18141, 0xB12B, 0x11D0, {0xB0, 0x6A, 0x00, 0xAA, 0x00, 0x60, 0x27, 0x1A}};
// {FCE18142-B12B-11D0-B06A-00AA0060271A}
static const IID IID_ViewerApplication = {
    0xFCE18142, 0xB12B, 0x11D0, {0xB0, 0x6A, 0x00, 0xAA, 0x00, 0x60, 0x27, 0x1A}};

struct ViewerApplication;
struct ViewerShow;

// The member names are ours: only what each entry does is relied on.
struct ViewerApplicationTable
{
    void* pUnknownAndOthers[9];
    // Opens the file and starts its slide show (with 1 and -1), handing back the show.
    HRESULT(STDMETHODCALLTYPE* OpenShow)
    (ViewerApplication* pThis, BSTR bstrFileName, LONG nOne, LONG nMinusOne, ViewerShow** ppShow);
    HRESULT(STDMETHODCALLTYPE* Quit)(ViewerApplication* pThis);
};
CHECK_TABLE_POSITION(ViewerApplicationTable, OpenShow, 9);
CHECK_TABLE_POSITION(ViewerApplicationTable, Quit, 10);

struct ViewerShowTable
{
    void* pUnknownAndOthers[8];
    HRESULT(STDMETHODCALLTYPE* Next)(ViewerShow* pThis);
    HRESULT(STDMETHODCALLTYPE* Previous)(ViewerShow* pThis);
    // Shows slide 1 again when called with 1 and -1.
    HRESULT(STDMETHODCALLTYPE* GotoSlide)(ViewerShow* pThis, LONG nSlide, LONG nMinusOne);
    void* pUnused11[2];
    HRESULT(STDMETHODCALLTYPE* EndShow)(ViewerShow* pThis);
};
CHECK_TABLE_POSITION(ViewerShowTable, Next, 8);
CHECK_TABLE_POSITION(ViewerShowTable, Previous, 9);
CHECK_TABLE_POSITION(ViewerShowTable, GotoSlide, 10);
CHECK_TABLE_POSITION(ViewerShowTable, EndShow, 13);

struct ViewerApplication
{
    const ViewerApplicationTable* pTable;
};
struct ViewerShow
{
    const ViewerShowTable* pTable;
};

// Each call records a failure in the outcome under the member's name; an empty
// object gives E_POINTER. OpenViewerShow may succeed without handing back a show.
bool OpenViewerShow(ViewerApplication* pViewer, const char* pszFileName, CComRef<ViewerShow>& show,
                    AutomationOutcome& outcome);
bool QuitViewer(ViewerApplication* pViewer, AutomationOutcome& outcome);
bool NextViewerSlide(ViewerShow* pShow, AutomationOutcome& outcome);
bool PreviousViewerSlide(ViewerShow* pShow, AutomationOutcome& outcome);
bool FirstViewerSlide(ViewerShow* pShow, AutomationOutcome& outcome);
bool EndViewerShow(ViewerShow* pShow, AutomationOutcome& outcome);

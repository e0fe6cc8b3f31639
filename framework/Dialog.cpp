// Message routing for CDialog. The object pointer rides in the window's user data.
#include "Dialog.h"
#include "WinApp.h"

CDialog::CDialog(UINT nTemplateId, HWND hParent)
    : m_hWnd(NULL), m_nTemplateId(nTemplateId), m_hParent(hParent), m_bModeless(false)
{
}

CDialog::~CDialog()
{
    if (m_bModeless && m_hWnd)
        DestroyWindow(m_hWnd);
}

INT_PTR CDialog::DoModal()
{
    return DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nTemplateId), m_hParent,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

bool CDialog::CreateModeless()
{
    m_bModeless = true;
    HWND hWnd = CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nTemplateId),
                                   m_hParent, DialogProc, reinterpret_cast<LPARAM>(this));
    return hWnd != NULL;
}

void CDialog::EndDialog(INT_PTR nResult)
{
    if (m_bModeless)
        DestroyWindow(m_hWnd);
    else
        ::EndDialog(m_hWnd, nResult);
}

bool CDialog::OnCommand(WORD, WORD)
{
    return false;
}

void CDialog::CenterWindow()
{
    RECT area;
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!hOwner || !GetWindowRect(hOwner, &area))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT window;
    GetWindowRect(m_hWnd, &window);
    int nWidth = window.right - window.left;
    int nHeight = window.bottom - window.top;
    SetWindowPos(m_hWnd, NULL, area.left + (area.right - area.left - nWidth) / 2,
                 area.top + (area.bottom - area.top - nHeight) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CDialog* pDlg = NULL;
    if (nMsg == WM_INITDIALOG)
    {
        pDlg = reinterpret_cast<CDialog*>(lParam);
        pDlg->m_hWnd = hWnd;
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pDlg));
        return pDlg->OnInitDialog();
    }
    pDlg = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (!pDlg)
        return FALSE;
    INT_PTR nHandled = pDlg->Route(nMsg, wParam, lParam);
    if (nMsg == WM_NCDESTROY)
    {
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        pDlg->m_hWnd = NULL;
    }
    return nHandled;
}

INT_PTR CDialog::Route(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_COMMAND)
    {
        WORD nId = LOWORD(wParam);
        if (OnCommand(nId, HIWORD(wParam)))
            return TRUE;
        if (nId == IDOK)
            OnOK();
        else if (nId == IDCANCEL)
            OnCancel();
        else
            return FALSE;
        return TRUE;
    }

    LRESULT lResult = 0;
    if (!OnMessage(nMsg, wParam, lParam, lResult))
        return FALSE;
    // A few messages return their value directly from the dialog procedure.
    switch (nMsg)
    {
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORDLG:
        return static_cast<INT_PTR>(lResult);
    }
    SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}

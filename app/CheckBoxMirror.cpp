#include "CheckBoxMirror.h"

static const char MIRROR_PROPERTY[] = "QuorvelCheckBoxMirror";

void CCheckBoxMirror::Attach(HWND hButton, ChangedHandler pHandler, void* pContext)
{
    if (!hButton || m_hButton)
        return;
    m_hButton = hButton;
    m_pHandler = pHandler;
    m_pContext = pContext;
    SetPropA(hButton, MIRROR_PROPERTY, this);
    m_pOriginalProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hButton, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonProc)));
}

LRESULT CALLBACK CCheckBoxMirror::ButtonProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CCheckBoxMirror* pMirror = static_cast<CCheckBoxMirror*>(GetPropA(hWnd, MIRROR_PROPERTY));
    if (!pMirror)
        return DefWindowProcA(hWnd, nMsg, wParam, lParam);
    WNDPROC pOriginal = pMirror->m_pOriginalProc;
    if (nMsg == WM_NCDESTROY)
    {
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pOriginal));
        RemovePropA(hWnd, MIRROR_PROPERTY);
        pMirror->m_hButton = NULL;
    }
    LRESULT lResult = CallWindowProcA(pOriginal, hWnd, nMsg, wParam, lParam);
    if (nMsg == BM_SETCHECK)
        pMirror->m_pHandler(pMirror->m_pContext, GetDlgCtrlID(hWnd),
                            CallWindowProcA(pOriginal, hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED);
    return lResult;
}

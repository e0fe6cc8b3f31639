// Tells the window of every change of a check box's state, however it comes: a
// click, a key or a BM_SETCHECK sent by another program. Every change of state
// passes through BM_SETCHECK, clicks included.
#pragma once
#include <windows.h>

class CCheckBoxMirror
{
public:
    typedef void (*ChangedHandler)(void* pContext, int nId, bool bChecked);

    CCheckBoxMirror() : m_hButton(NULL), m_pOriginalProc(NULL), m_pHandler(NULL), m_pContext(NULL)
    {
    }
    // On the user-interface thread, once the button exists; the handler runs there too.
    void Attach(HWND hButton, ChangedHandler pHandler, void* pContext);

private:
    CCheckBoxMirror(const CCheckBoxMirror&);
    CCheckBoxMirror& operator=(const CCheckBoxMirror&);
    static LRESULT CALLBACK ButtonProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hButton;
    WNDPROC m_pOriginalProc;
    ChangedHandler m_pHandler;
    void* m_pContext;
};

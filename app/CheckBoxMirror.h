// A check box's state, kept up to date as it changes, for worker threads to read
// without a message to the user-interface thread (which may be busy drawing the
// event log). Every change of state passes through BM_SETCHECK, clicks included.
#pragma once
#include <windows.h>
#include <atomic>

class CCheckBoxMirror
{
public:
    CCheckBoxMirror() : m_hButton(NULL), m_pOriginalProc(NULL), m_bChecked(false) {}
    // On the user-interface thread, once the button exists.
    void Attach(HWND hButton);
    bool IsChecked() const { return m_bChecked.load(); }

private:
    CCheckBoxMirror(const CCheckBoxMirror&);
    CCheckBoxMirror& operator=(const CCheckBoxMirror&);
    static LRESULT CALLBACK ButtonProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hButton;
    WNDPROC m_pOriginalProc;
    std::atomic<bool> m_bChecked;
};

// A dialog from a dialog template, modal or modeless, routing its messages to
// virtual handlers.
#pragma once
#include <windows.h>

class CDialog
{
public:
    CDialog(UINT nTemplateId, HWND hParent);
    virtual ~CDialog();

    INT_PTR DoModal();
    // Shows the dialog beside its owner's window, which goes on working; false
    // when the window could not be made. EndDialog destroys it.
    bool CreateModeless();
    void EndDialog(INT_PTR nResult);
    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int nId) const { return ::GetDlgItem(m_hWnd, nId); }
    // Centres the window on its owner, or on the screen's work area when it has none.
    void CenterWindow();

protected:
    // Return TRUE to let the system set the default focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // WM_COMMAND; return true when handled. IDOK and IDCANCEL that OnCommand
    // leaves go to OnOK and OnCancel (Enter, Esc, the close box).
    virtual bool OnCommand(WORD nId, WORD nCode);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Every other message; return true when handled, with the message result in lResult.
    virtual bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    HWND m_hWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    INT_PTR Route(UINT nMsg, WPARAM wParam, LPARAM lParam);

    UINT m_nTemplateId;
    HWND m_hParent;
    bool m_bModeless;
};

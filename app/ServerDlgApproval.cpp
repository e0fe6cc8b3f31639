// Phones on other computers over TCP: the window asks the user about each new
// address, remembers the ones allowed in AllowedPhones, and forgets them on request.
#include "ServerDlg.h"
#include "PhoneApprovalDlg.h"
#include "../core/IPv4Text.h"
#include "../res/resource.h"

static const UINT_PTR APPROVAL_TIMER_ID = 3;
static const UINT APPROVAL_WAIT_MS = 60000;
// The tray icon blinks while a question is open.
static const UINT_PTR APPROVAL_BLINK_TIMER_ID = 4;
static const UINT APPROVAL_BLINK_MS = 500;

// Flashes the window's caption and taskbar button until the question closes.
static void FlashWindowButton(HWND hWnd, DWORD nFlags)
{
    FLASHWINFO flash = {};
    flash.cbSize = sizeof(flash);
    flash.hwnd = hWnd;
    flash.dwFlags = nFlags;
    FlashWindowEx(&flash);
}

void CServerDlg::OnPhoneToAskAbout()
{
    PostMessageA(m_hWnd, WM_APP_ASK_APPROVAL, 0, 0);
}

// The listener holds a phone and has posted WM_APP_ASK_APPROVAL. The question
// shows without taking the foreground from the program the user is typing in,
// where a stray Space or Enter would answer it; it calls by flashing instead.
void CServerDlg::OnAskApproval()
{
    CPhoneQuestion question = {};
    if (!m_listener.Approvals().IsAsking(&question) || m_pApprovalDlg)
        return; // the listener stopped meanwhile, or the question is shown already
    if (m_bHidden)
        ShowFromTray(false);
    m_pApprovalDlg = new CPhoneApprovalDlg(m_hWnd, question);
    if (!m_pApprovalDlg->CreateModeless())
    {
        m_core.LogEvent("Couldn't ask about the phone at %s (error %d)\r\n",
                        FormatIPv4(question.nAddress).c_str(), static_cast<int>(GetLastError()));
        OnApprovalAnswer(false, question, false);
        return;
    }
    m_approvalShown = question;
    SetWindowPos(m_pApprovalDlg->GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    FlashWindowButton(m_hWnd, FLASHW_ALL | FLASHW_TIMER);
    SetTimer(m_hWnd, APPROVAL_TIMER_ID, APPROVAL_WAIT_MS, NULL);
    SetTimer(m_hWnd, APPROVAL_BLINK_TIMER_ID, APPROVAL_BLINK_MS, NULL);
}

void CServerDlg::CloseApprovalQuestion()
{
    KillTimer(m_hWnd, APPROVAL_TIMER_ID);
    KillTimer(m_hWnd, APPROVAL_BLINK_TIMER_ID);
    if (!m_pApprovalDlg)
        return;
    delete m_pApprovalDlg;
    m_pApprovalDlg = NULL;
    FlashWindowButton(m_hWnd, FLASHW_STOP);
    BlinkTrayIcon(false);
}

// An answer about another question than the open one (its phone gone, or
// answered already) changes nothing.
void CServerDlg::OnApprovalAnswer(bool bAllow, const CPhoneQuestion& question, bool bTimedOut)
{
    if (!m_listener.Approvals().Answer(bAllow, question))
        return;
    CloseApprovalQuestion();
    std::string address = FormatIPv4(question.nAddress);
    if (bAllow)
    {
        m_core.LogEvent("Allowed the phone at %s\r\n", address.c_str());
        m_settingsFile.SaveAllowedPhones(m_listener.Approvals().AllowedText());
    }
    else if (bTimedOut)
    {
        m_core.LogEvent("No answer about the phone at %s within %d seconds: it is refused until "
                        "Quorvel restarts\r\n",
                        address.c_str(), static_cast<int>(APPROVAL_WAIT_MS / 1000));
    }
    else
    {
        m_core.LogEvent("Denied the phone at %s: it is refused until Quorvel restarts\r\n",
                        address.c_str());
    }
    m_listener.Answered();
}

void CServerDlg::OnForgetPhones()
{
    m_listener.Approvals().ForgetAllowed();
    m_settingsFile.SaveAllowedPhones(m_listener.Approvals().AllowedText());
    m_core.LogEvent(
        "Forgot the approved phones: a phone on another computer is asked about again\r\n");
}

bool CServerDlg::OnApprovalMessage(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_APP_ASK_APPROVAL:
        OnAskApproval();
        return true;
    case WM_APP_PHONE_ALLOWED:
    case WM_APP_PHONE_DENIED:
    {
        CPhoneQuestion answered = {static_cast<unsigned>(wParam), static_cast<uint32_t>(lParam)};
        OnApprovalAnswer(nMsg == WM_APP_PHONE_ALLOWED, answered, false);
        return true;
    }
    case WM_TIMER:
        if (wParam == APPROVAL_BLINK_TIMER_ID)
            BlinkTrayIcon(!m_bTrayIconBlank);
        else if (wParam == APPROVAL_TIMER_ID)
            OnApprovalAnswer(false, m_approvalShown, true);
        else
            return false;
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != IDM_FORGET_PHONES)
            return false;
        OnForgetPhones();
        return true;
    }
    return false;
}

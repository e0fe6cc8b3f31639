// Phones on other computers over TCP: the window asks the user about each new
// address, remembers the ones allowed in AllowedPhones, and forgets them on request.
#include "ServerDlg.h"
#include "PhoneApprovalDlg.h"
#include "../core/IPv4Text.h"
#include "../res/resource.h"

static const UINT_PTR APPROVAL_TIMER_ID = 3;
static const UINT APPROVAL_WAIT_MS = 60000;

void CServerDlg::OnPhoneToAskAbout()
{
    PostMessageA(m_hWnd, WM_APP_ASK_APPROVAL, 0, 0);
}

// The listener holds a phone and has posted WM_APP_ASK_APPROVAL.
void CServerDlg::OnAskApproval()
{
    uint32_t nAddress = 0;
    if (!m_listener.Approvals().IsAsking(&nAddress) || m_pApprovalDlg)
        return; // the listener stopped meanwhile, or the question is shown already
    if (m_bHidden)
        ShowFromTray();
    m_pApprovalDlg = new CPhoneApprovalDlg(m_hWnd, FormatIPv4(nAddress));
    if (!m_pApprovalDlg->CreateModeless())
    {
        m_core.LogEvent("Couldn't ask about the phone at %s (error %d)\r\n",
                        FormatIPv4(nAddress).c_str(), static_cast<int>(GetLastError()));
        OnApprovalAnswer(false, false);
        return;
    }
    ShowWindow(m_pApprovalDlg->GetSafeHwnd(), SW_SHOW);
    SetForegroundWindow(m_pApprovalDlg->GetSafeHwnd());
    SetTimer(m_hWnd, APPROVAL_TIMER_ID, APPROVAL_WAIT_MS, NULL);
}

void CServerDlg::CloseApprovalQuestion()
{
    KillTimer(m_hWnd, APPROVAL_TIMER_ID);
    delete m_pApprovalDlg;
    m_pApprovalDlg = NULL;
}

void CServerDlg::OnApprovalAnswer(bool bAllow, bool bTimedOut)
{
    CloseApprovalQuestion();
    uint32_t nAddress = 0;
    if (!m_listener.Approvals().Answer(bAllow, &nAddress))
        return;
    std::string address = FormatIPv4(nAddress);
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

bool CServerDlg::OnApprovalMessage(UINT nMsg, WPARAM wParam)
{
    switch (nMsg)
    {
    case WM_APP_ASK_APPROVAL:
        OnAskApproval();
        return true;
    case WM_APP_APPROVAL_ANSWER:
        OnApprovalAnswer(wParam != 0, false);
        return true;
    case WM_TIMER:
        if (wParam != APPROVAL_TIMER_ID)
            return false;
        OnApprovalAnswer(false, true);
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != IDM_FORGET_PHONES)
            return false;
        OnForgetPhones();
        return true;
    }
    return false;
}

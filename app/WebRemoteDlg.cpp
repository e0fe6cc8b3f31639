#include "WebRemoteDlg.h"
#include <stdio.h>
#include <stdlib.h>
#include "ServerDlg.h"
#include "SettingsRules.h"
#include "../res/resource.h"
#include "../web/LocalAddresses.h"
#include "../web/WebRemote.h"

static const UINT_PTR REFRESH_TIMER_ID = 1;
// A browser may pair while the dialog is open: the code and the list follow.
static const UINT REFRESH_PERIOD_MS = 500;

CWebRemoteDlg::CWebRemoteDlg(CServerDlg& server)
    : CDialog(IDD_WEB_REMOTE, server.GetSafeHwnd()), m_server(server), m_hCodeFont(NULL),
      m_nShownChanges(0)
{
}

CWebRemoteDlg::~CWebRemoteDlg()
{
    if (m_hCodeFont)
        DeleteObject(m_hCodeFont);
}

BOOL CWebRemoteDlg::OnInitDialog()
{
    CenterWindow();
    CheckDlgButton(m_hWnd, IDC_WEB_ENABLE, m_server.m_bWebRemote ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_WEB_ALLOW_SHUTDOWN,
                   m_server.m_bWebRemoteShutdown ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(m_hWnd, IDC_WEB_PORT, EM_LIMITTEXT, 5, 0);
    SetDlgItemInt(m_hWnd, IDC_WEB_PORT, m_server.m_nWebRemotePort, FALSE);
    // The code is read off the screen from across the room: large digits.
    m_hCodeFont = CreateFontA(-28, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                              FIXED_PITCH, "Courier New");
    if (m_hCodeFont)
        SendDlgItemMessageA(m_hWnd, IDC_WEB_CODE, WM_SETFONT, reinterpret_cast<WPARAM>(m_hCodeFont),
                            FALSE);
    ShowAddresses();
    ShowPairing();
    SetTimer(m_hWnd, REFRESH_TIMER_ID, REFRESH_PERIOD_MS, NULL);
    return TRUE;
}

// The port typed takes effect when the listener starts next; a value that
// names no port is put back.
void CWebRemoteDlg::TakePort()
{
    BOOL bNumber = FALSE;
    UINT nPort = GetDlgItemInt(m_hWnd, IDC_WEB_PORT, &bNumber, FALSE);
    if (bNumber && static_cast<int>(nPort) == ClampWebRemotePort(static_cast<int>(nPort)))
        m_server.m_nWebRemotePort = static_cast<int>(nPort);
    SetDlgItemInt(m_hWnd, IDC_WEB_PORT, m_server.m_nWebRemotePort, FALSE);
}

void CWebRemoteDlg::ShowAddresses()
{
    std::vector<std::string> addresses = LocalIPv4Addresses();
    std::string text;
    for (size_t i = 0; i < addresses.size(); i++)
    {
        char szLine[64];
        snprintf(szLine, sizeof(szLine), "http://%s:%d/\r\n", addresses[i].c_str(),
                 m_server.m_nWebRemotePort);
        text += szLine;
    }
    SetDlgItemTextA(m_hWnd, IDC_WEB_ADDRESSES, text.c_str());
}

void CWebRemoteDlg::ShowPairing()
{
    CWebPairing& pairing = m_server.m_pWebRemote->Pairing();
    m_nShownChanges = pairing.ChangeCount();
    SetDlgItemTextA(m_hWnd, IDC_WEB_CODE, pairing.Code().c_str());
    HWND hList = GetDlgItem(IDC_WEB_BROWSERS);
    SendMessageA(hList, LB_RESETCONTENT, 0, 0);
    m_browserHashes.clear();
    std::vector<PairedBrowser> browsers = pairing.Browsers();
    for (size_t i = 0; i < browsers.size(); i++)
    {
        std::string line = browsers[i].name + ", paired " + browsers[i].date;
        SendMessageA(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        m_browserHashes.push_back(browsers[i].tokenHash);
    }
    EnableWindow(GetDlgItem(IDC_WEB_REMOVE), !browsers.empty());
}

void CWebRemoteDlg::OnEnableClicked()
{
    m_server.m_bWebRemote = IsDlgButtonChecked(m_hWnd, IDC_WEB_ENABLE) == BST_CHECKED;
    TakePort();
    ShowAddresses();
    if (m_server.m_bWebRemote)
        m_server.StartWebRemote();
    else
        m_server.StopWebRemote();
}

void CWebRemoteDlg::OnRemove()
{
    LRESULT nSelection = SendDlgItemMessageA(m_hWnd, IDC_WEB_BROWSERS, LB_GETCURSEL, 0, 0);
    if (nSelection < 0 || static_cast<size_t>(nSelection) >= m_browserHashes.size())
        return;
    m_server.m_pWebRemote->Pairing().Remove(m_browserHashes[nSelection]);
    ShowPairing();
}

void CWebRemoteDlg::Close()
{
    TakePort();
    KillTimer(m_hWnd, REFRESH_TIMER_ID);
    EndDialog(IDOK);
}

bool CWebRemoteDlg::OnCommand(WORD nId, WORD nCode)
{
    if (nCode != BN_CLICKED)
        return false;
    switch (nId)
    {
    case IDC_WEB_ENABLE:
        OnEnableClicked();
        return true;
    case IDC_WEB_NEW_CODE:
        m_server.m_pWebRemote->Pairing().NewCode();
        ShowPairing();
        return true;
    case IDC_WEB_REMOVE:
        OnRemove();
        return true;
    case IDC_WEB_ALLOW_SHUTDOWN:
        m_server.m_bWebRemoteShutdown =
            IsDlgButtonChecked(m_hWnd, IDC_WEB_ALLOW_SHUTDOWN) == BST_CHECKED;
        m_server.m_pWebRemote->AllowShutdown(m_server.m_bWebRemoteShutdown != 0);
        return true;
    }
    return false;
}

bool CWebRemoteDlg::OnMessage(UINT nMsg, WPARAM wParam, LPARAM, LRESULT&)
{
    if (nMsg != WM_TIMER || wParam != REFRESH_TIMER_ID)
        return false;
    if (m_server.m_pWebRemote->Pairing().ChangeCount() != m_nShownChanges)
        ShowPairing();
    return true;
}

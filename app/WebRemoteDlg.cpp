#include "WebRemoteDlg.h"
#include <stdio.h>
#include <stdlib.h>
#include "ServerDlg.h"
#include "../core/SettingsRules.h"
#include "../res/resource.h"
#include "../web/LocalAddresses.h"
#include "../web/QrCode.h"
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
    CheckDlgButton(m_hWnd, IDC_WEB_ENABLE, m_server.IsWebRemoteOn() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_WEB_ALLOW_SHUTDOWN,
                   m_server.IsWebShutdownAllowed() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_WEB_ALLOW_INPUT,
                   m_server.IsWebInputAllowed() ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(m_hWnd, IDC_WEB_PORT, EM_LIMITTEXT, 5, 0);
    SetDlgItemInt(m_hWnd, IDC_WEB_PORT, m_server.WebRemotePort(), FALSE);
    // The code is read off the screen from across the room: large digits.
    m_hCodeFont = CreateFontA(-28, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                              FIXED_PITCH, "Courier New");
    ShowAddresses();
    m_server.WebRemote().Pairing().DialogOpened();
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
        m_server.SetWebRemotePort(static_cast<int>(nPort));
    SetDlgItemInt(m_hWnd, IDC_WEB_PORT, m_server.WebRemotePort(), FALSE);
}

void CWebRemoteDlg::ShowAddresses()
{
    std::vector<std::string> addresses = LocalIPv4Addresses();
    std::string text;
    for (size_t i = 0; i < addresses.size(); i++)
    {
        char szLine[64];
        snprintf(szLine, sizeof(szLine), "http://%s:%d/\r\n", addresses[i].c_str(),
                 m_server.WebRemotePort());
        text += szLine;
    }
    SetDlgItemTextA(m_hWnd, IDC_WEB_ADDRESSES, text.c_str());
    m_qrRows.clear();
    EncodeQrCode(text.substr(0, text.find("\r\n")), &m_qrRows);
    InvalidateRect(GetDlgItem(IDC_WEB_QR), NULL, TRUE);
}

// Dark modules on white, with the standard's quiet zone of four modules around.
void CWebRemoteDlg::DrawQrCode(const DRAWITEMSTRUCT& item) const
{
    const RECT& area = item.rcItem;
    FillRect(item.hDC, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const int QUIET_ZONE = 4;
    int nModules = static_cast<int>(m_qrRows.size());
    int nSide = area.right - area.left < area.bottom - area.top ? area.right - area.left
                                                                : area.bottom - area.top;
    int nScale = nModules ? nSide / (nModules + 2 * QUIET_ZONE) : 0;
    if (nScale <= 0)
        return;
    int nLeft = area.left + (area.right - area.left - nScale * nModules) / 2;
    int nTop = area.top + (area.bottom - area.top - nScale * nModules) / 2;
    HBRUSH hDark = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    for (int y = 0; y < nModules; y++)
    {
        for (int x = 0; x < nModules && x < static_cast<int>(m_qrRows[y].size()); x++)
        {
            if (m_qrRows[y][x] != '#')
                continue;
            RECT module = {nLeft + x * nScale, nTop + y * nScale, nLeft + (x + 1) * nScale,
                           nTop + (y + 1) * nScale};
            FillRect(item.hDC, &module, hDark);
        }
    }
}

// An expired code gives way to a line in the dialog's own font, which fits there.
void CWebRemoteDlg::ShowCode(const std::string& code)
{
    HFONT hFont = m_hCodeFont && !code.empty()
                      ? m_hCodeFont
                      : reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    SendDlgItemMessageA(m_hWnd, IDC_WEB_CODE, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    SetDlgItemTextA(m_hWnd, IDC_WEB_CODE, code.empty() ? "Expired: press New code." : code.c_str());
}

void CWebRemoteDlg::ShowPairing()
{
    CWebPairing& pairing = m_server.WebRemote().Pairing();
    m_nShownChanges = pairing.ChangeCount();
    ShowCode(pairing.IsCodeExpired() ? std::string() : pairing.Code());
    HWND hList = GetDlgItem(IDC_WEB_BROWSERS);
    SendMessageA(hList, LB_RESETCONTENT, 0, 0);
    m_browserHashes.clear();
    std::vector<PairedBrowser> browsers = pairing.Browsers();
    for (size_t i = 0; i < browsers.size(); i++)
    {
        std::string line = PairedBrowserLine(browsers[i]);
        SendMessageA(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        m_browserHashes.push_back(browsers[i].tokenHash);
    }
    EnableWindow(GetDlgItem(IDC_WEB_REMOVE), !browsers.empty());
}

void CWebRemoteDlg::OnEnableClicked()
{
    bool bOn = IsDlgButtonChecked(m_hWnd, IDC_WEB_ENABLE) == BST_CHECKED;
    TakePort();
    ShowAddresses();
    m_server.SetWebRemoteOn(bOn);
}

void CWebRemoteDlg::OnRemove()
{
    LRESULT nSelection = SendDlgItemMessageA(m_hWnd, IDC_WEB_BROWSERS, LB_GETCURSEL, 0, 0);
    if (nSelection < 0 || static_cast<size_t>(nSelection) >= m_browserHashes.size())
        return;
    m_server.WebRemote().RemoveBrowser(m_browserHashes[nSelection]);
    ShowPairing();
}

void CWebRemoteDlg::Close()
{
    TakePort();
    KillTimer(m_hWnd, REFRESH_TIMER_ID);
    m_server.WebRemote().Pairing().DialogClosed();
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
        m_server.WebRemote().Pairing().NewCode();
        ShowPairing();
        return true;
    case IDC_WEB_REMOVE:
        OnRemove();
        return true;
    case IDC_WEB_ALLOW_SHUTDOWN:
        m_server.SetWebShutdownAllowed(IsDlgButtonChecked(m_hWnd, IDC_WEB_ALLOW_SHUTDOWN) ==
                                       BST_CHECKED);
        return true;
    case IDC_WEB_ALLOW_INPUT:
        m_server.SetWebInputAllowed(IsDlgButtonChecked(m_hWnd, IDC_WEB_ALLOW_INPUT) == BST_CHECKED);
        return true;
    }
    return false;
}

bool CWebRemoteDlg::OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    if (nMsg == WM_DRAWITEM && wParam == IDC_WEB_QR)
    {
        DrawQrCode(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        lResult = TRUE;
        return true;
    }
    if (nMsg != WM_TIMER || wParam != REFRESH_TIMER_ID)
        return false;
    if (m_server.WebRemote().Pairing().ChangeCount() != m_nShownChanges)
        ShowPairing();
    return true;
}

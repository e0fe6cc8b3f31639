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
// A browser may pair while the dialog is open: the key and the list follow.
static const UINT REFRESH_PERIOD_MS = 500;

CWebRemoteDlg::CWebRemoteDlg(CServerDlg& server)
    : CDialog(IDD_WEB_REMOTE, server.GetSafeHwnd()), m_server(server), m_hKeyFont(NULL),
      m_nShownChanges(0)
{
}

CWebRemoteDlg::~CWebRemoteDlg()
{
    if (m_hKeyFont)
        DeleteObject(m_hKeyFont);
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
    // The key is read off the screen and typed: large, fixed-width characters.
    m_hKeyFont = CreateFontA(-20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                             FIXED_PITCH, "Courier New");
    m_server.WebRemote().Pairing().RenewExpiredKey();
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
    m_firstAddress = text.substr(0, text.find("\r\n"));
    DrawQrOfKey();
}

// The key rides in the address's fragment, which a browser never sends: scanning
// pairs without the key crossing the network. No key, no QR code.
void CWebRemoteDlg::DrawQrOfKey()
{
    m_qrRows.clear();
    if (!m_firstAddress.empty() && !m_shownKey.empty())
        EncodeQrCode(m_firstAddress + "#k=" + m_shownKey, &m_qrRows);
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

// Plain text in a read-only edit, so screen readers read it and it can be
// selected; without a key, a line in the dialog's own font.
void CWebRemoteDlg::ShowKey(const std::string& key)
{
    HFONT hFont = m_hKeyFont && !key.empty()
                      ? m_hKeyFont
                      : reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    SendDlgItemMessageA(m_hWnd, IDC_WEB_KEY, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    SetDlgItemTextA(m_hWnd, IDC_WEB_KEY, key.empty() ? "None: press New key." : key.c_str());
    if (key != m_shownKey)
    {
        m_shownKey = key;
        DrawQrOfKey();
    }
}

void CWebRemoteDlg::ShowPairing()
{
    CWebPairing& pairing = m_server.WebRemote().Pairing();
    m_nShownChanges = pairing.ChangeCount();
    ShowKey(pairing.KeyText());
    HWND hList = GetDlgItem(IDC_WEB_BROWSERS);
    SendMessageA(hList, LB_RESETCONTENT, 0, 0);
    m_browserIds.clear();
    std::vector<PairedBrowser> browsers = pairing.Browsers();
    for (size_t i = 0; i < browsers.size(); i++)
    {
        std::string line = PairedBrowserLine(browsers[i]);
        SendMessageA(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        m_browserIds.push_back(browsers[i].id);
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
    if (nSelection < 0 || static_cast<size_t>(nSelection) >= m_browserIds.size())
        return;
    m_server.WebRemote().RemoveBrowser(m_browserIds[nSelection]);
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
    case IDC_WEB_NEW_KEY:
        m_server.WebRemote().Pairing().NewKey();
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
    // A key lives 10 minutes: one that expires while shown gives way to a new one.
    m_server.WebRemote().Pairing().RenewExpiredKey();
    if (m_server.WebRemote().Pairing().ChangeCount() != m_nShownChanges)
        ShowPairing();
    return true;
}

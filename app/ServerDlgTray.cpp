// The tray icon and the window hidden in it: minimise hides the window from the
// taskbar, a left click on the icon brings it back or hides it again.
#include "ServerDlg.h"
#include <stdio.h>
#include <string.h>
#include "../framework/WinApp.h"
#include "../res/resource.h"

static const UINT TRAY_ICON_ID = 100;
// Where the window comes back from the tray, in screen pixels.
static const RECT TRAY_RESTORE_RECT = {100, 100, 550, 645};

void CServerDlg::AddTrayIcon()
{
    m_nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    m_nid.hWnd = m_hWnd;
    m_nid.uID = TRAY_ICON_ID;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_nid.uCallbackMessage = WM_TRAYNOTIFY;
    m_nid.hIcon = static_cast<HICON>(
        LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON, 16, 16, 0));
    snprintf(m_nid.szTip, sizeof(m_nid.szTip), "%s", "Quorvel Server");
    m_bTrayIconShown = Shell_NotifyIconA(NIM_ADD, &m_nid) != FALSE;
}

// Fully transparent: the blink shows the tray's own background.
static HICON CreateBlankIcon()
{
    BYTE andMask[16 * 2];
    BYTE xorMask[16 * 2];
    memset(andMask, 0xFF, sizeof(andMask));
    memset(xorMask, 0, sizeof(xorMask));
    return CreateIcon(AfxGetInstanceHandle(), 16, 16, 1, 1, andMask, xorMask);
}

void CServerDlg::BlinkTrayIcon(bool bBlank)
{
    if (!m_bTrayIconShown || bBlank == m_bTrayIconBlank)
        return;
    if (bBlank && !m_hBlankIcon)
        m_hBlankIcon = CreateBlankIcon();
    NOTIFYICONDATAA nid = m_nid;
    nid.uFlags = NIF_ICON;
    nid.hIcon = bBlank ? m_hBlankIcon : m_nid.hIcon;
    if (nid.hIcon && Shell_NotifyIconA(NIM_MODIFY, &nid))
        m_bTrayIconBlank = bBlank;
}

void CServerDlg::RemoveTrayIcon()
{
    if (!m_bTrayIconShown)
        return;
    Shell_NotifyIconA(NIM_DELETE, &m_nid);
    m_bTrayIconShown = false;
}

void CServerDlg::OnTrayClick()
{
    if (m_bHidden)
        ShowFromTray(true);
    else
        HideInTray();
}

void CServerDlg::ShowFromTray(bool bActivate)
{
    // Cleared first: while it is set, every attempt to show the window is refused.
    m_bHidden = 0;
    ShowWindow(m_hWnd, bActivate ? SW_SHOW : SW_SHOWNA);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    placement.flags = 0;
    placement.showCmd = bActivate ? SW_RESTORE : SW_SHOWNOACTIVATE;
    placement.rcNormalPosition = TRAY_RESTORE_RECT;
    SetWindowPlacement(m_hWnd, &placement);
}

void CServerDlg::HideInTray()
{
    ShowWindow(m_hWnd, SW_HIDE);
    m_bHidden = 1;
}

void CServerDlg::OnSize(WPARAM nType)
{
    if (nType == SIZE_MINIMIZED)
        HideInTray();
}

// With StartMinimised the dialog would show itself once its initialisation is
// done; keeping it hidden here means it is never seen, not even for a moment.
void CServerDlg::OnWindowPosChanging(WINDOWPOS* pPos)
{
    if (m_bHidden)
        pPos->flags &= ~SWP_SHOWWINDOW;
}

bool CServerDlg::OnPaint()
{
    if (m_bHidden)
        ShowWindow(m_hWnd, SW_HIDE);
    if (!IsIconic(m_hWnd))
        return false;
    PAINTSTRUCT paint;
    HDC hDC = BeginPaint(m_hWnd, &paint);
    SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hDC), 0);
    RECT client;
    GetClientRect(m_hWnd, &client);
    int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(hDC, x, y, m_hIcon);
    EndPaint(m_hWnd, &paint);
    return true;
}

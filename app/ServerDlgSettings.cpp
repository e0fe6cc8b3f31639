// The settings in the window: loaded from QuorvelServer.ini into the controls,
// pushed into the core as the user changes them, and saved from the controls at
// the end. "Files to browse:" goes in only once its editing ends (the focus
// leaves it, Enter, a folder button, the end): a list typed half-way, "D:\" on
// the way to "D:\Music", must never be browseable. The edits 1004 and 1019 show the path and
// extensions of the kind selected in the list 1018.
#include "ServerDlg.h"
#include <stdio.h>
#include <string.h>
#include "../core/SettingsRules.h"
#include "../res/resource.h"

static void ReadControl(HWND hDlg, int nId, char* pBuffer, int nSize)
{
    if (!GetDlgItemTextA(hDlg, nId, pBuffer, nSize))
        pBuffer[0] = '\0';
}

static int CheckState(HWND hDlg, int nId)
{
    return IsDlgButtonChecked(hDlg, nId) == BST_CHECKED ? 1 : 0;
}

static UINT CheckedIf(int bChecked)
{
    return bChecked ? BST_CHECKED : BST_UNCHECKED;
}

void CServerDlg::LoadSettings()
{
    m_settingsFile.Load(&m_settings);
    snprintf(m_szPath, sizeof(m_szPath), "%s", m_settings.szBrowseFolders);
    m_bHidden = m_settings.bStartMinimised;
    m_listener.Approvals().LoadAllowed(m_settings.allowedPhones);
    for (int i = 0; i < APP_KIND_COUNT; i++)
        m_core.SetKindSettings(i, m_settings.szAppPath[i], m_settings.szExtensions[i]);
    m_core.SetDefaultKind(m_settings.nDefaultKind);
    m_core.SetBrowseFolders(m_settings.szBrowseFolders);
    m_core.SetStartApps(m_settings.bStartApps != 0);
    m_core.SetStopWhenSwitching(m_settings.bStopWhenSwitching != 0);
    ShowSettings();
}

// The controls show the settings; the check boxes and edits push their values
// into the core as they change.
void CServerDlg::ShowSettings()
{
    m_bFillingControls = true;
    SetDlgItemTextA(m_hWnd, IDC_COM_PORT, m_settings.szCommPort);
    SetDlgItemTextA(m_hWnd, IDC_BROWSE_PATH, m_settings.szBrowseFolders);
    CheckDlgButton(m_hWnd, IDC_START_APPS, CheckedIf(m_settings.bStartApps));
    CheckDlgButton(m_hWnd, IDC_START_MINIMISED, CheckedIf(m_bHidden));
    CheckDlgButton(m_hWnd, IDC_STOP_WHEN_SWITCHING, CheckedIf(m_settings.bStopWhenSwitching));
    CheckDlgButton(m_hWnd, IDC_LISTEN_ON_SOCKET, CheckedIf(m_settings.bListenOnSocket));
    SendDlgItemMessageA(m_hWnd, IDC_DEFAULT_APP, CB_SETCURSEL, m_settings.nDefaultKind, 0);
    m_bFillingControls = false;
    m_nShownKind = m_settings.nDefaultKind;
    ShowSelectedKind();
}

// The edits show the core's path and extensions of the selected kind.
void CServerDlg::ShowSelectedKind()
{
    m_bFillingControls = true;
    SetDlgItemTextA(m_hWnd, IDC_EXTENSIONS, m_core.Extensions(m_nShownKind).c_str());
    SetDlgItemTextA(m_hWnd, IDC_APP_PATH, m_core.AppPath(m_nShownKind).c_str());
    m_bFillingControls = false;
}

void CServerDlg::OnKindEdited()
{
    if (m_bFillingControls)
        return;
    char szAppPath[PATH_SIZE];
    char szExtensions[PATH_SIZE];
    ReadControl(m_hWnd, IDC_APP_PATH, szAppPath, sizeof(szAppPath));
    ReadControl(m_hWnd, IDC_EXTENSIONS, szExtensions, sizeof(szExtensions));
    m_core.SetKindSettings(m_nShownKind, szAppPath, szExtensions);
}

void CServerDlg::OnDefaultAppChanged()
{
    LRESULT nSelection = SendDlgItemMessageA(m_hWnd, IDC_DEFAULT_APP, CB_GETCURSEL, 0, 0);
    if (nSelection < 0 || nSelection >= APP_KIND_COUNT)
        return;
    m_nShownKind = static_cast<int>(nSelection);
    m_core.SetDefaultKind(m_nShownKind);
    ShowSelectedKind();
}

void CServerDlg::OnBrowseFoldersEdited()
{
    if (m_bFillingControls)
        return;
    char szFolders[PATH_SIZE];
    ReadControl(m_hWnd, IDC_BROWSE_PATH, szFolders, sizeof(szFolders));
    m_core.SetBrowseFolders(szFolders);
}

void CServerDlg::OnCheckBoxChanged(void* pContext, int nId, bool bChecked)
{
    CServerDlg& self = *static_cast<CServerDlg*>(pContext);
    if (nId == IDC_START_APPS)
        self.m_core.SetStartApps(bChecked);
    else if (nId == IDC_STOP_WHEN_SWITCHING)
        self.m_core.SetStopWhenSwitching(bChecked);
}

void CServerDlg::SaveSettings()
{
    ServerSettings& s = m_settings;
    ReadControl(m_hWnd, IDC_BROWSE_PATH, m_szPath, sizeof(m_szPath));
    snprintf(s.szBrowseFolders, sizeof(s.szBrowseFolders), "%s", m_szPath);
    m_core.SetBrowseFolders(m_szPath);
    s.bStartApps = CheckState(m_hWnd, IDC_START_APPS);
    LRESULT nSelection = SendDlgItemMessageA(m_hWnd, IDC_DEFAULT_APP, CB_GETCURSEL, 0, 0);
    if (nSelection >= 0 && nSelection < APP_KIND_COUNT)
        s.nDefaultKind = static_cast<int>(nSelection);
    for (int i = 0; i < APP_KIND_COUNT; i++)
    {
        snprintf(s.szAppPath[i], sizeof(s.szAppPath[i]), "%s", m_core.AppPath(i).c_str());
        snprintf(s.szExtensions[i], sizeof(s.szExtensions[i]), "%s", m_core.Extensions(i).c_str());
    }
    s.bStartMinimised = CheckState(m_hWnd, IDC_START_MINIMISED);
    s.bStopWhenSwitching = CheckState(m_hWnd, IDC_STOP_WHEN_SWITCHING);
    s.bListenOnSocket = CheckState(m_hWnd, IDC_LISTEN_ON_SOCKET);
    s.allowedPhones = m_listener.Approvals().AllowedText();
    m_settingsFile.Save(s);
}

void CServerDlg::WriteFirstRunSettings(int nKind, const char* pszAppPath,
                                       const char* pszBrowseFolders, const char* pszCommPort)
{
    m_settingsFile.WriteFirstRun(nKind, pszAppPath, pszBrowseFolders, pszCommPort);
}

// Loading QuorvelServer.ini into the fields and the controls.
#include "ServerDlg.h"
#include <stdio.h>
#include "SettingsRules.h"
#include "../res/resource.h"

static void ReadSetting(const char* pszIniFile, const char* pszKey, const char* pszDefault,
                        char* pBuffer, DWORD nSize)
{
    if (pszIniFile[0] == '\0')
    {
        snprintf(pBuffer, nSize, "%s", pszDefault);
        return;
    }
    GetPrivateProfileStringA(SETTINGS_SECTION, pszKey, pszDefault, pBuffer, nSize, pszIniFile);
}

static int ReadNumberSetting(const char* pszIniFile, const char* pszKey)
{
    char szValue[256];
    ReadSetting(pszIniFile, pszKey, "0", szValue, sizeof(szValue));
    return ParseSettingNumber(szValue);
}

void CServerDlg::LoadSettings()
{
    // A working directory too long for the file path leaves the defaults in force.
    char szIniFile[PATH_SIZE];
    BuildSettingsFilePath(m_szIniDir, szIniFile, sizeof(szIniFile));

    ReadSetting(szIniFile, "CommPort", "", m_szCommPort, sizeof(m_szCommPort));
    SetDlgItemTextA(m_hWnd, IDC_COM_PORT, m_szCommPort);

    ReadSetting(szIniFile, "Path", "", m_szPath, sizeof(m_szPath));
    RemoveTrailingBackslash(m_szPath);
    SetDlgItemTextA(m_hWnd, IDC_BROWSE_PATH, m_szPath);

    CheckDlgButton(m_hWnd, IDC_START_APPS,
                   ReadNumberSetting(szIniFile, "StartWinampAutomatically") ? BST_CHECKED
                                                                            : BST_UNCHECKED);
    m_bHidden = ReadNumberSetting(szIniFile, "StartMinimised");
    CheckDlgButton(m_hWnd, IDC_START_MINIMISED, m_bHidden ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_STOP_WHEN_SWITCHING,
                   ReadNumberSetting(szIniFile, "StopWhenSwitching") ? BST_CHECKED : BST_UNCHECKED);
    m_bListenOnSocket = ReadNumberSetting(szIniFile, "ListenOnSocket");
    CheckDlgButton(m_hWnd, IDC_LISTEN_ON_SOCKET, m_bListenOnSocket ? BST_CHECKED : BST_UNCHECKED);

    m_nDefaultApp = ClampAppKind(ReadNumberSetting(szIniFile, "DefaultApplication"));
    SendDlgItemMessageA(m_hWnd, IDC_DEFAULT_APP, CB_SETCURSEL, m_nDefaultApp, 0);

    for (int i = 0; i < APP_KIND_COUNT; i++)
    {
        char szKey[32];
        snprintf(szKey, sizeof(szKey), "PathToApplication%d", i);
        ReadSetting(szIniFile, szKey, "", m_szAppPath[i], sizeof(m_szAppPath[i]));
        snprintf(szKey, sizeof(szKey), "ExtensionsHandled%d", i);
        ReadSetting(szIniFile, szKey, DefaultExtensions(i), m_szExtensions[i],
                    sizeof(m_szExtensions[i]));
        if (i != m_nDefaultApp)
            continue;
        SetDlgItemTextA(m_hWnd, IDC_APP_PATH, m_szAppPath[i]);
        SetDlgItemTextA(m_hWnd, IDC_EXTENSIONS, m_szExtensions[i]);
    }
}

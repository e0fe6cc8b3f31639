// QuorvelServer.ini: loaded into the fields and the controls at start, saved from
// them at the end, and written fresh by the first-run wizard.
#include "ServerDlg.h"
#include <stdio.h>
#include <string.h>
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

static void WriteSetting(const char* pszIniFile, const char* pszKey, const char* pszValue)
{
    // A read-only file or folder simply keeps its old contents.
    WritePrivateProfileStringA(SETTINGS_SECTION, pszKey, pszValue, pszIniFile);
}

static void WriteNumberSetting(const char* pszIniFile, const char* pszKey, int nValue)
{
    char szValue[16];
    snprintf(szValue, sizeof(szValue), "%d", nValue);
    WriteSetting(pszIniFile, pszKey, szValue);
}

// A key added after the first version: written only when it differs from its absent
// value, and removed when it is back at it, so files that never use it stay as they were.
static void WriteOptionalSetting(const char* pszIniFile, const char* pszKey, const char* pszValue,
                                 const char* pszAbsentValue)
{
    if (strcmp(pszValue, pszAbsentValue) != 0)
    {
        WriteSetting(pszIniFile, pszKey, pszValue);
        return;
    }
    char szOld[4];
    const char* pszMissing = "\x01";
    GetPrivateProfileStringA(SETTINGS_SECTION, pszKey, pszMissing, szOld, sizeof(szOld),
                             pszIniFile);
    if (strcmp(szOld, pszMissing) != 0)
        WriteSetting(pszIniFile, pszKey, NULL);
}

static void WriteOptionalNumberSetting(const char* pszIniFile, const char* pszKey, int nValue,
                                       int nAbsent)
{
    char szValue[16];
    char szAbsent[16];
    snprintf(szValue, sizeof(szValue), "%d", nValue);
    snprintf(szAbsent, sizeof(szAbsent), "%d", nAbsent);
    WriteOptionalSetting(pszIniFile, pszKey, szValue, szAbsent);
}

// A kind's two keys. The kinds after the first five are optional keys.
static void WriteKindSettings(const char* pszIniFile, int nKind, const char* pszAppPath,
                              const char* pszExtensions)
{
    char szPathKey[32];
    char szExtensionsKey[32];
    snprintf(szPathKey, sizeof(szPathKey), "PathToApplication%d", nKind);
    snprintf(szExtensionsKey, sizeof(szExtensionsKey), "ExtensionsHandled%d", nKind);
    if (nKind < KINDS_ALWAYS_SAVED)
    {
        WriteSetting(pszIniFile, szPathKey, pszAppPath);
        WriteSetting(pszIniFile, szExtensionsKey, pszExtensions);
        return;
    }
    WriteOptionalSetting(pszIniFile, szPathKey, pszAppPath, "");
    WriteOptionalSetting(pszIniFile, szExtensionsKey, pszExtensions, DefaultExtensions(nKind));
}

static int CheckState(HWND hDlg, int nId)
{
    return IsDlgButtonChecked(hDlg, nId) == BST_CHECKED ? 1 : 0;
}

static int ReadNumberSetting(const char* pszIniFile, const char* pszKey)
{
    char szValue[256];
    ReadSetting(pszIniFile, pszKey, "0", szValue, sizeof(szValue));
    return ParseSettingNumber(szValue);
}

void CServerDlg::LoadSettings()
{
    // Without a usable file path (see SettingsFileUsable) the defaults are in force.
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
    m_bWebRemote = ReadNumberSetting(szIniFile, "WebRemote") ? 1 : 0;
    char szPort[16];
    ReadSetting(szIniFile, "WebRemotePort", "7655", szPort, sizeof(szPort));
    m_nWebRemotePort = ClampWebRemotePort(ParseSettingNumber(szPort));
    m_bWebRemoteShutdown = ReadNumberSetting(szIniFile, "WebRemoteShutdown") ? 1 : 0;

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

    char szAllowed[MAX_ALLOWED_PHONES * 16 + 1];
    ReadSetting(szIniFile, "AllowedPhones", "", szAllowed, sizeof(szAllowed));
    m_approvals.LoadAllowed(szAllowed);
}

bool CServerDlg::SettingsFileExists() const
{
    char szIniFile[PATH_SIZE];
    if (!BuildSettingsFilePath(m_szIniDir, szIniFile, sizeof(szIniFile)))
        return false;
    FILE* pFile = fopen(szIniFile, "r");
    if (!pFile)
        return false;
    fclose(pFile);
    return true;
}

bool CServerDlg::SettingsFileUsable() const
{
    char szIniFile[PATH_SIZE];
    return BuildSettingsFilePath(m_szIniDir, szIniFile, sizeof(szIniFile));
}

void CServerDlg::SaveSettings()
{
    char szIniFile[PATH_SIZE];
    if (!BuildSettingsFilePath(m_szIniDir, szIniFile, sizeof(szIniFile)))
        return;

    WriteSetting(szIniFile, "CommPort", m_szCommPort);
    if (!GetDlgItemTextA(m_hWnd, IDC_BROWSE_PATH, m_szPath, sizeof(m_szPath)))
        m_szPath[0] = '\0';
    WriteSetting(szIniFile, "Path", m_szPath);
    WriteNumberSetting(szIniFile, "StartWinampAutomatically", CheckState(m_hWnd, IDC_START_APPS));

    LRESULT nSelection = SendDlgItemMessageA(m_hWnd, IDC_DEFAULT_APP, CB_GETCURSEL, 0, 0);
    if (nSelection >= 0 && nSelection < APP_KIND_COUNT)
        m_nDefaultApp = static_cast<int>(nSelection);
    WriteNumberSetting(szIniFile, "DefaultApplication", m_nDefaultApp);

    for (int i = 0; i < KINDS_ALWAYS_SAVED; i++)
        SaveKindSettings(szIniFile, i);

    WriteNumberSetting(szIniFile, "StartMinimised", CheckState(m_hWnd, IDC_START_MINIMISED));
    WriteNumberSetting(szIniFile, "StopWhenSwitching", CheckState(m_hWnd, IDC_STOP_WHEN_SWITCHING));
    WriteNumberSetting(szIniFile, "ListenOnSocket", CheckState(m_hWnd, IDC_LISTEN_ON_SOCKET));
    for (int i = KINDS_ALWAYS_SAVED; i < APP_KIND_COUNT; i++)
        SaveKindSettings(szIniFile, i);
    WriteOptionalSetting(szIniFile, "AllowedPhones", m_approvals.AllowedText().c_str(), "");
    WriteOptionalNumberSetting(szIniFile, "WebRemote", m_bWebRemote, 0);
    WriteOptionalNumberSetting(szIniFile, "WebRemotePort", m_nWebRemotePort,
                               WEB_REMOTE_PORT_ABSENT);
    WriteOptionalNumberSetting(szIniFile, "WebRemoteShutdown", m_bWebRemoteShutdown, 0);
}

void CServerDlg::SaveKindSettings(const char* pszIniFile, int nKind)
{
    // The selected kind's edits are saved as they stand; the arrays keep
    // their values until the next change of list 1018.
    char szAppPath[PATH_SIZE];
    char szExtensions[PATH_SIZE];
    snprintf(szAppPath, sizeof(szAppPath), "%s", m_szAppPath[nKind]);
    snprintf(szExtensions, sizeof(szExtensions), "%s", m_szExtensions[nKind]);
    if (nKind == m_nDefaultApp)
    {
        if (!GetDlgItemTextA(m_hWnd, IDC_APP_PATH, szAppPath, sizeof(szAppPath)))
            szAppPath[0] = '\0';
        if (!GetDlgItemTextA(m_hWnd, IDC_EXTENSIONS, szExtensions, sizeof(szExtensions)))
            szExtensions[0] = '\0';
    }
    WriteKindSettings(pszIniFile, nKind, szAppPath, szExtensions);
}

// Written as soon as a phone is allowed or the list is forgotten: the phone's
// EXIT ends the server without saving, and an answer must not be lost with it.
void CServerDlg::SaveAllowedPhones()
{
    char szIniFile[PATH_SIZE];
    if (BuildSettingsFilePath(m_szIniDir, szIniFile, sizeof(szIniFile)))
        WriteOptionalSetting(szIniFile, "AllowedPhones", m_approvals.AllowedText().c_str(), "");
}

void CServerDlg::WriteDefaultSettings(int nKind, const char* pszAppPath, const char* pszBrowsePath,
                                      const char* pszCommPort)
{
    char szIniFile[PATH_SIZE];
    if (BuildSettingsFilePath(m_szIniDir, szIniFile, sizeof(szIniFile)))
    {
        WriteSetting(szIniFile, "CommPort", pszCommPort);
        WriteSetting(szIniFile, "Path", pszBrowsePath);
        WriteSetting(szIniFile, "StartWinampAutomatically", "1");
        WriteNumberSetting(szIniFile, "DefaultApplication", nKind);
        for (int i = 0; i < KINDS_ALWAYS_SAVED; i++)
            WriteKindSettings(szIniFile, i, i == nKind ? pszAppPath : "",
                              FirstRunExtensions(i, nKind));
        WriteSetting(szIniFile, "StartMinimised", "0");
        for (int i = KINDS_ALWAYS_SAVED; i < APP_KIND_COUNT; i++)
            WriteKindSettings(szIniFile, i, i == nKind ? pszAppPath : "",
                              FirstRunExtensions(i, nKind));
    }
    LoadSettings();
}

#include "SettingsFile.h"
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "SettingsRules.h"

// An IPv4 address is at most 15 characters and a separator.
static const size_t ALLOWED_PHONES_SIZE = 64 * 16 + 1;

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

// A kind's two keys; those of the later kinds are optional keys.
static void WriteKindSettings(const char* pszIniFile, int nKind, const char* pszAppPath,
                              const char* pszExtensions)
{
    const PlayerKind& kind = KindInfo(nKind);
    if (kind.bAlwaysSaved)
    {
        WriteSetting(pszIniFile, kind.pszPathKey, pszAppPath);
        WriteSetting(pszIniFile, kind.pszExtensionsKey, pszExtensions);
        return;
    }
    WriteOptionalSetting(pszIniFile, kind.pszPathKey, pszAppPath, "");
    WriteOptionalSetting(pszIniFile, kind.pszExtensionsKey, pszExtensions,
                         kind.pszDefaultExtensions);
}

CSettingsFile::CSettingsFile()
{
    m_szFolder[0] = '\0';
}

void CSettingsFile::SetFolder(const char* pszFolder)
{
    snprintf(m_szFolder, sizeof(m_szFolder), "%s", strlen(pszFolder) < PATH_SIZE ? pszFolder : "");
}

bool CSettingsFile::Path(char* pOut, size_t nOutSize) const
{
    return BuildSettingsFilePath(m_szFolder, pOut, nOutSize);
}

bool CSettingsFile::IsUsable() const
{
    char szIniFile[PATH_SIZE];
    return Path(szIniFile, sizeof(szIniFile));
}

bool CSettingsFile::Exists() const
{
    char szIniFile[PATH_SIZE];
    if (!Path(szIniFile, sizeof(szIniFile)))
        return false;
    FILE* pFile = fopen(szIniFile, "r");
    if (!pFile)
        return false;
    fclose(pFile);
    return true;
}

void CSettingsFile::Load(ServerSettings* pSettings) const
{
    // Without a usable file path the defaults are in force.
    char szIniFile[PATH_SIZE];
    Path(szIniFile, sizeof(szIniFile));
    ServerSettings& s = *pSettings;
    ReadSetting(szIniFile, "CommPort", "", s.szCommPort, sizeof(s.szCommPort));
    ReadSetting(szIniFile, "Path", "", s.szBrowseFolders, sizeof(s.szBrowseFolders));
    RemoveTrailingBackslash(s.szBrowseFolders);
    s.bStartApps = ReadNumberSetting(szIniFile, "StartWinampAutomatically") ? 1 : 0;
    s.bStartMinimised = ReadNumberSetting(szIniFile, "StartMinimised");
    s.bStopWhenSwitching = ReadNumberSetting(szIniFile, "StopWhenSwitching") ? 1 : 0;
    s.bListenOnSocket = ReadNumberSetting(szIniFile, "ListenOnSocket");
    s.bWebRemote = ReadNumberSetting(szIniFile, "WebRemote") ? 1 : 0;
    char szPort[16];
    ReadSetting(szIniFile, "WebRemotePort", "7655", szPort, sizeof(szPort));
    s.nWebRemotePort = ClampWebRemotePort(ParseSettingNumber(szPort));
    s.bWebRemoteShutdown = ReadNumberSetting(szIniFile, "WebRemoteShutdown") ? 1 : 0;
    char szInput[16];
    ReadSetting(szIniFile, "WebRemoteInput", "1", szInput, sizeof(szInput));
    s.bWebRemoteInput = ParseSettingNumber(szInput) ? 1 : 0;
    s.nDefaultKind = ClampAppKind(ReadNumberSetting(szIniFile, "DefaultApplication"));
    for (int i = 0; i < APP_KIND_COUNT; i++)
    {
        const PlayerKind& kind = KindInfo(i);
        ReadSetting(szIniFile, kind.pszPathKey, "", s.szAppPath[i], sizeof(s.szAppPath[i]));
        ReadSetting(szIniFile, kind.pszExtensionsKey, kind.pszDefaultExtensions, s.szExtensions[i],
                    sizeof(s.szExtensions[i]));
    }
    char szAllowed[ALLOWED_PHONES_SIZE];
    ReadSetting(szIniFile, "AllowedPhones", "", szAllowed, sizeof(szAllowed));
    s.allowedPhones = szAllowed;
}

void CSettingsFile::Save(const ServerSettings& s) const
{
    char szIniFile[PATH_SIZE];
    if (!Path(szIniFile, sizeof(szIniFile)))
        return;
    WriteSetting(szIniFile, "CommPort", s.szCommPort);
    WriteSetting(szIniFile, "Path", s.szBrowseFolders);
    WriteNumberSetting(szIniFile, "StartWinampAutomatically", s.bStartApps);
    WriteNumberSetting(szIniFile, "DefaultApplication", s.nDefaultKind);
    for (int i = 0; i < APP_KIND_COUNT; i++)
    {
        if (KindInfo(i).bAlwaysSaved)
            WriteKindSettings(szIniFile, i, s.szAppPath[i], s.szExtensions[i]);
    }
    WriteNumberSetting(szIniFile, "StartMinimised", s.bStartMinimised);
    WriteNumberSetting(szIniFile, "StopWhenSwitching", s.bStopWhenSwitching);
    WriteNumberSetting(szIniFile, "ListenOnSocket", s.bListenOnSocket);
    for (int i = 0; i < APP_KIND_COUNT; i++)
    {
        if (!KindInfo(i).bAlwaysSaved)
            WriteKindSettings(szIniFile, i, s.szAppPath[i], s.szExtensions[i]);
    }
    WriteOptionalSetting(szIniFile, "AllowedPhones", s.allowedPhones.c_str(), "");
    WriteOptionalNumberSetting(szIniFile, "WebRemote", s.bWebRemote, 0);
    WriteOptionalNumberSetting(szIniFile, "WebRemotePort", s.nWebRemotePort,
                               WEB_REMOTE_PORT_ABSENT);
    WriteOptionalNumberSetting(szIniFile, "WebRemoteShutdown", s.bWebRemoteShutdown, 0);
    WriteOptionalNumberSetting(szIniFile, "WebRemoteInput", s.bWebRemoteInput, 1);
}

void CSettingsFile::SaveAllowedPhones(const std::string& allowed) const
{
    char szIniFile[PATH_SIZE];
    if (Path(szIniFile, sizeof(szIniFile)))
        WriteOptionalSetting(szIniFile, "AllowedPhones", allowed.c_str(), "");
}

void CSettingsFile::WriteFirstRun(int nKind, const char* pszAppPath, const char* pszBrowseFolders,
                                  const char* pszCommPort) const
{
    char szIniFile[PATH_SIZE];
    if (!Path(szIniFile, sizeof(szIniFile)))
        return;
    WriteSetting(szIniFile, "CommPort", pszCommPort);
    WriteSetting(szIniFile, "Path", pszBrowseFolders);
    WriteSetting(szIniFile, "StartWinampAutomatically", "1");
    WriteNumberSetting(szIniFile, "DefaultApplication", nKind);
    for (int i = 0; i < APP_KIND_COUNT; i++)
    {
        if (KindInfo(i).bAlwaysSaved)
            WriteKindSettings(szIniFile, i, i == nKind ? pszAppPath : "",
                              FirstRunExtensions(i, nKind));
    }
    WriteSetting(szIniFile, "StartMinimised", "0");
    for (int i = 0; i < APP_KIND_COUNT; i++)
    {
        if (!KindInfo(i).bAlwaysSaved)
            WriteKindSettings(szIniFile, i, i == nKind ? pszAppPath : "",
                              FirstRunExtensions(i, nKind));
    }
}

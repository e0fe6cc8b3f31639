#include "SettingsRules.h"
#include <stdio.h>
#include <string.h>
#include "PlayerKinds.h"

int ParseSettingNumber(const char* pszValue)
{
    int nValue = 0;
    if (sscanf(pszValue, "%d", &nValue) != 1)
        return 0;
    return nValue;
}

int ClampWebRemotePort(int nPort)
{
    return nPort >= 1 && nPort <= 65535 ? nPort : WEB_REMOTE_PORT_ABSENT;
}

int ClampAppKind(int nKind)
{
    if (nKind < 0 || nKind >= APP_KIND_COUNT)
        return 0;
    return nKind;
}

void RemoveTrailingBackslash(char* pszText)
{
    size_t nLength = strlen(pszText);
    if (nLength > 0 && pszText[nLength - 1] == '\\')
        pszText[nLength - 1] = '\0';
}

const char* DefaultExtensions(int nKind)
{
    return KindInfo(nKind).pszDefaultExtensions;
}

const char* FirstRunExtensions(int nKind, int nChosenKind)
{
    if (nKind == nChosenKind)
        return FIRST_RUN_MEDIA_EXTENSIONS;
    return KindInfo(nKind).pszFirstRunExtensions;
}

bool BuildSettingsFilePath(const char* pszDir, char* pOut, size_t nOutSize)
{
    if (pszDir[0] == '\0')
    {
        if (nOutSize > 0)
            pOut[0] = '\0';
        return false;
    }
    int nWritten = snprintf(pOut, nOutSize, "%s\\%s", pszDir, SETTINGS_FILE_NAME);
    if (nWritten < 0 || static_cast<size_t>(nWritten) >= nOutSize)
    {
        if (nOutSize > 0)
            pOut[0] = '\0';
        return false;
    }
    return true;
}

bool AppendFolderToList(char* pList, size_t nSize, const char* pszFolder)
{
    size_t nLength = strlen(pList);
    const char* pszSeparator = nLength > 0 ? ";" : "";
    size_t nNeeded = nLength + strlen(pszSeparator) + strlen(pszFolder);
    if (nNeeded >= nSize)
        return false;
    snprintf(pList + nLength, nSize - nLength, "%s%s", pszSeparator, pszFolder);
    return true;
}

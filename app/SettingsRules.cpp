#include "SettingsRules.h"
#include <stdio.h>
#include <string.h>

int ParseSettingNumber(const char* pszValue)
{
    int nValue = 0;
    if (sscanf(pszValue, "%d", &nValue) != 1)
        return 0;
    return nValue;
}

int ClampAppKind(int nKind)
{
    if (nKind < 0 || nKind > 4)
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
    switch (nKind)
    {
    case 0:
        return "mp3;mp2;wav;wma";
    case 3:
        return "ppt";
    default:
        return "";
    }
}

bool BuildSettingsFilePath(const char* pszDir, char* pOut, size_t nOutSize)
{
    int nWritten = snprintf(pOut, nOutSize, "%s\\%s", pszDir, SETTINGS_FILE_NAME);
    if (nWritten < 0 || static_cast<size_t>(nWritten) >= nOutSize)
    {
        if (nOutSize > 0)
            pOut[0] = '\0';
        return false;
    }
    return true;
}

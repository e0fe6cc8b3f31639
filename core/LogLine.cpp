#include "LogLine.h"
#include <stdio.h>
#include <string.h>

static bool EndsWithLineBreak(const char* pszText)
{
    size_t nLength = strlen(pszText);
    return nLength >= 2 && pszText[nLength - 2] == '\r' && pszText[nLength - 1] == '\n';
}

void FormatLogMessage(char* pBuffer, size_t nSize, const char* pszFormat, va_list args)
{
    if (nSize == 0)
        return;
    int nWanted = vsnprintf(pBuffer, nSize, pszFormat, args);
    if (nWanted < 0)
    {
        pBuffer[0] = '\0';
        return;
    }
    if (static_cast<size_t>(nWanted) < nSize)
        return;
    pBuffer[nSize - 1] = '\0';
    if (nSize >= 3 && EndsWithLineBreak(pszFormat))
    {
        pBuffer[nSize - 3] = '\r';
        pBuffer[nSize - 2] = '\n';
    }
}

int VolumePercent(unsigned nVolume)
{
    return static_cast<int>(nVolume * 100 / 255);
}

const char* OnOffText(unsigned nValue)
{
    return nValue ? "on" : "off";
}

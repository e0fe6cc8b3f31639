#include "WinampRules.h"
#include <limits.h>
#include <stdio.h>
#include <string.h>

void CutWinampTitle(char* pszCaption)
{
    char* pSuffix = strstr(pszCaption, " - Winamp");
    if (pSuffix)
        *pSuffix = '\0';
}

int WinampTrackLengthSeconds(int nReported, int nVersion)
{
    if (nVersion >= WINAMP_VERSION_3000)
        return nReported / 1000000;
    return nReported;
}

int WinampSeekMilliseconds(int nSeconds)
{
    const int MAX_SECONDS = INT_MAX / 1000;
    if (nSeconds <= 0)
        return 0;
    return (nSeconds < MAX_SECONDS ? nSeconds : MAX_SECONDS) * 1000;
}

bool BuildWinampPlaylistPath(const char* pszExePath, char* pOut, size_t nOutSize)
{
    if (nOutSize > 0)
        pOut[0] = '\0';
    const char* pLastSlash = strrchr(pszExePath, '\\');
    if (!pLastSlash)
        return false;
    int nFolderLength = static_cast<int>(pLastSlash - pszExePath);
    int nWritten = snprintf(pOut, nOutSize, "%.*s\\Winamp.m3u", nFolderLength, pszExePath);
    if (nWritten < 0 || static_cast<size_t>(nWritten) >= nOutSize)
    {
        if (nOutSize > 0)
            pOut[0] = '\0';
        return false;
    }
    return true;
}

#include "MediaKeysRules.h"
#include <ctype.h>
#include <string.h>

static bool SameTextIgnoringCase(const char* pszA, const char* pszB)
{
    for (; *pszA && *pszB; pszA++, pszB++)
    {
        if (tolower(static_cast<unsigned char>(*pszA)) !=
            tolower(static_cast<unsigned char>(*pszB)))
            return false;
    }
    return *pszA == *pszB;
}

bool IsProgramFile(const char* pszPath)
{
    // The types Windows runs or installs when opened, PATHEXT's and the shell's own.
    static const char* const PROGRAM_TYPES[] = {
        "exe", "com", "bat", "cmd", "scr", "pif",         "lnk",      "url", "vbs",
        "vbe", "js",  "jse", "wsf", "wsh", "msc",         "msi",      "msp", "hta",
        "cpl", "ps1", "reg", "jar", "scf", "application", "appref-ms"};
    // Windows ignores a stream name ("run.exe::$DATA") and trailing dots and
    // spaces ("run.exe. "): the type is what comes before them.
    const char* pszName = FileNameOfPath(pszPath);
    size_t nEnd = strcspn(pszName, ":");
    while (nEnd > 0 && (pszName[nEnd - 1] == '.' || pszName[nEnd - 1] == ' '))
        nEnd--;
    size_t nDot = nEnd;
    while (nDot > 0 && pszName[nDot - 1] != '.')
        nDot--;
    if (nDot == 0)
        return false;
    char szType[16];
    size_t nLength = nEnd - nDot;
    if (nLength >= sizeof(szType))
        return false;
    memcpy(szType, pszName + nDot, nLength);
    szType[nLength] = '\0';
    for (const char* pszProgramType : PROGRAM_TYPES)
    {
        if (SameTextIgnoringCase(szType, pszProgramType))
            return true;
    }
    return false;
}

const char* FileNameOfPath(const char* pszPath)
{
    // A drive-relative path ("C:run.exe") has no separator after its drive.
    bool bDrive = isalpha(static_cast<unsigned char>(pszPath[0])) && pszPath[1] == ':';
    const char* pszName = bDrive ? pszPath + 2 : pszPath;
    for (const char* p = pszName; *p; p++)
    {
        if (*p == '\\' || *p == '/')
            pszName = p + 1;
    }
    return pszName;
}

#include "NameRules.h"
#include <ctype.h>
#include <string.h>

static bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

static bool EqualsIgnoringCase(const char* pText, size_t nLength, const char* pszWord)
{
    if (strlen(pszWord) != nLength)
        return false;
    for (size_t i = 0; i < nLength; i++)
    {
        if (toupper(static_cast<unsigned char>(pText[i])) != pszWord[i])
            return false;
    }
    return true;
}

// "\\.\x", "\\?\x", "\??\x", in either slash.
static bool IsDeviceNamespace(const char* pszPath)
{
    if (IsSeparator(pszPath[0]) && IsSeparator(pszPath[1]) &&
        (pszPath[2] == '.' || pszPath[2] == '?') && IsSeparator(pszPath[3]))
        return true;
    return IsSeparator(pszPath[0]) && pszPath[1] == '?' && pszPath[2] == '?' &&
           IsSeparator(pszPath[3]);
}

// The part that starts at p or after the separators there; its length in *pnLength.
static const char* NextPart(const char* p, size_t* pnLength)
{
    while (IsSeparator(*p))
        p++;
    const char* pEnd = p;
    while (*pEnd && !IsSeparator(*pEnd))
        pEnd++;
    *pnLength = static_cast<size_t>(pEnd - p);
    return p;
}

// "\\host\pipe\...", "\\host\mailslot\..." and "\\host\IPC$\...": the share of a
// UNC path. The system folds repeated separators ("\\host\\pipe") and drops a
// dot at the end of a part ("pipe."), so the share is the second part that is
// not empty, without dots and spaces at its end.
static bool IsPipeShare(const char* pszPath)
{
    if (!IsSeparator(pszPath[0]) || !IsSeparator(pszPath[1]))
        return false;
    size_t nHost = 0;
    size_t nShare = 0;
    const char* pHost = NextPart(pszPath + 2, &nHost);
    const char* pShare = NextPart(pHost + nHost, &nShare);
    while (nShare > 0 && (pShare[nShare - 1] == '.' || pShare[nShare - 1] == ' '))
        nShare--;
    return EqualsIgnoringCase(pShare, nShare, "PIPE") ||
           EqualsIgnoringCase(pShare, nShare, "MAILSLOT") ||
           EqualsIgnoringCase(pShare, nShare, "IPC$");
}

// The digits 1 to 9, and the superscripts 1, 2 and 3 of the Western code page,
// which the system takes for the same ports.
static bool IsPortDigit(unsigned char c)
{
    return (c >= '1' && c <= '9') || c == 0xB9 || c == 0xB2 || c == 0xB3;
}

// The system reads a device name from the last part of a path up to its first
// "." or ":", with trailing spaces ignored: "nul.mp3" and "CON .txt" are devices.
static bool IsDosDeviceWord(const char* pWord, size_t nLength)
{
    while (nLength > 0 && pWord[nLength - 1] == ' ')
        nLength--;
    static const char* const s_names[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (size_t i = 0; i < sizeof(s_names) / sizeof(s_names[0]); i++)
    {
        if (EqualsIgnoringCase(pWord, nLength, s_names[i]))
            return true;
    }
    if (nLength != 4 || !IsPortDigit(static_cast<unsigned char>(pWord[3])))
        return false;
    return EqualsIgnoringCase(pWord, 3, "COM") || EqualsIgnoringCase(pWord, 3, "LPT");
}

// The last part of the path that is not empty: "C:\a\nul\" ends in "nul",
// and "C:NUL" in "NUL" (a drive's colon is no part of a name).
static const char* LastPart(const char* pszPath, size_t* pnLength)
{
    const char* pEnd = pszPath + strlen(pszPath);
    while (pEnd > pszPath && IsSeparator(pEnd[-1]))
        pEnd--;
    const char* pFirst = isalpha(static_cast<unsigned char>(pszPath[0])) && pszPath[1] == ':'
                             ? pszPath + 2
                             : pszPath;
    const char* pStart = pEnd;
    while (pStart > pFirst && !IsSeparator(pStart[-1]))
        pStart--;
    *pnLength = static_cast<size_t>(pEnd - pStart);
    return pStart;
}

bool IsDeviceName(const char* pszPath)
{
    if (IsDeviceNamespace(pszPath) || IsPipeShare(pszPath))
        return true;
    size_t nLength = 0;
    const char* pPart = LastPart(pszPath, &nLength);
    size_t nWord = 0;
    while (nWord < nLength && pPart[nWord] != '.' && pPart[nWord] != ':')
        nWord++;
    return IsDosDeviceWord(pPart, nWord);
}

// Which names the media-keys kind may hand to the shell: media files only.
#include "NameRules.h"
#include <ctype.h>
#include <string.h>
#include "../players/MediaKeysRules.h"

const char* const MEDIA_KEYS_TYPES =
    "mp3;wav;wma;ogg;oga;opus;flac;m4a;aac;aif;aiff;mid;mp4;m4v;mkv;webm;avi;wmv;mov;mpg;mpeg;"
    "3gp;m3u;m3u8;pls;asx;wpl";

static bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

static bool SameTextIgnoringCase(const char* pA, const char* pB, size_t nLength)
{
    for (size_t i = 0; i < nLength; i++)
    {
        if (tolower(static_cast<unsigned char>(pA[i])) !=
            tolower(static_cast<unsigned char>(pB[i])))
            return false;
    }
    return true;
}

// The length of the root, "C:\" or "\\server\share\", or 0 for any other shape:
// relative and drive-relative names, and the device forms "\\.\" and "\\?\".
static size_t RootLength(const char* pszPath)
{
    if (isalpha(static_cast<unsigned char>(pszPath[0])) && pszPath[1] == ':' &&
        IsSeparator(pszPath[2]))
        return 3;
    if (!IsSeparator(pszPath[0]) || !IsSeparator(pszPath[1]))
        return 0;
    const char* pPart = pszPath + 2;
    if (pPart[0] == '.' && IsSeparator(pPart[1]))
        return 0;
    for (int nPart = 0; nPart < 2; nPart++)
    {
        size_t nLength = strcspn(pPart, "\\/");
        if (nLength == 0 || pPart[nLength] == '\0')
            return 0;
        pPart += nLength + 1;
    }
    return static_cast<size_t>(pPart - pszPath);
}

static bool HasOnlyPlainCharacters(const char* pszText)
{
    for (const char* p = pszText; *p; p++)
    {
        if (static_cast<unsigned char>(*p) < 0x20 || strchr("\":<>|?*", *p))
            return false;
    }
    return true;
}

// Entries may have spaces around them and a dot before them (" .mp3").
static bool ListHoldsType(const char* pszList, const char* pszType)
{
    size_t nType = strlen(pszType);
    for (const char* pEntry = pszList; *pEntry;)
    {
        size_t nLength = strcspn(pEntry, ";");
        const char* pNext = pEntry + nLength + (pEntry[nLength] == ';' ? 1 : 0);
        while (nLength > 0 && (*pEntry == ' ' || *pEntry == '.'))
        {
            pEntry++;
            nLength--;
        }
        while (nLength > 0 && pEntry[nLength - 1] == ' ')
            nLength--;
        if (nLength == nType && SameTextIgnoringCase(pEntry, pszType, nType))
            return true;
        pEntry = pNext;
    }
    return false;
}

bool IsMediaFileName(const char* pszPath, const char* pszTypes)
{
    // Past "C:" or "\\": the drive's colon is the only one allowed.
    size_t nRoot = RootLength(pszPath);
    if (nRoot == 0 || !HasOnlyPlainCharacters(pszPath + 2))
        return false;
    const char* pszName = FileNameOfPath(pszPath);
    size_t nName = strlen(pszName);
    if (pszName < pszPath + nRoot || nName == 0 || pszName[nName - 1] == '.' ||
        pszName[nName - 1] == ' ')
        return false;
    const char* pszType = FileTypeOfPath(pszPath);
    if (!pszType || pszType[1] == '\0')
        return false;
    return ListHoldsType(pszTypes[0] != '\0' ? pszTypes : MEDIA_KEYS_TYPES, pszType + 1);
}

#include "MediaKeysRules.h"
#include <ctype.h>
#include <string.h>

static bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

const char* FileTypeOfPath(const char* pszPath)
{
    return strrchr(FileNameOfPath(pszPath), '.');
}

const char* FileNameOfPath(const char* pszPath)
{
    // A drive-relative path ("C:run.exe") has no separator after its drive.
    bool bDrive = isalpha(static_cast<unsigned char>(pszPath[0])) && pszPath[1] == ':';
    const char* pszName = bDrive ? pszPath + 2 : pszPath;
    for (const char* p = pszName; *p; p++)
    {
        if (IsSeparator(*p))
            pszName = p + 1;
    }
    return pszName;
}

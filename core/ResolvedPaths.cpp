#include "ResolvedPaths.h"
#include <windows.h>
#include <vector>
#include "NameRules.h"

// The full path in the same code page as the name, so that the rule reads both
// alike; an empty text when the system cannot resolve it (then no open can).
static std::vector<char> FullPathOf(const char* pszPath)
{
    std::vector<char> none(1, '\0');
    int nWide = MultiByteToWideChar(CP_ACP, 0, pszPath, -1, NULL, 0);
    if (nWide <= 0)
        return none;
    std::vector<wchar_t> name(static_cast<size_t>(nWide));
    MultiByteToWideChar(CP_ACP, 0, pszPath, -1, &name[0], nWide);
    DWORD nFull = GetFullPathNameW(&name[0], 0, NULL, NULL);
    if (nFull == 0)
        return none;
    std::vector<wchar_t> full(nFull);
    if (GetFullPathNameW(&name[0], nFull, &full[0], NULL) >= nFull)
        return none;
    int nBytes = WideCharToMultiByte(CP_ACP, 0, &full[0], -1, NULL, 0, NULL, NULL);
    if (nBytes <= 0)
        return none;
    std::vector<char> text(static_cast<size_t>(nBytes));
    WideCharToMultiByte(CP_ACP, 0, &full[0], -1, &text[0], nBytes, NULL, NULL);
    return text;
}

bool IsDeviceNameAsResolved(const char* pszPath)
{
    return IsDeviceName(pszPath) || IsDeviceName(&FullPathOf(pszPath)[0]);
}

bool IsExistingRegularFile(const char* pszPath)
{
    DWORD nAttributes = GetFileAttributesA(pszPath);
    return nAttributes != INVALID_FILE_ATTRIBUTES &&
           (nAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

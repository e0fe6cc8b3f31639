#include "NameRules.h"
#include <wchar.h>
#include <vector>

static bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

static wchar_t LowerAscii(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// The parts of text from nStart on between separators, empty ones included.
static std::vector<std::wstring> SplitFrom(const std::wstring& text, size_t nStart,
                                           wchar_t cSeparator)
{
    std::vector<std::wstring> parts;
    while (nStart < text.size())
    {
        size_t nEnd = text.find(cSeparator, nStart);
        if (nEnd == std::wstring::npos)
            nEnd = text.size();
        parts.push_back(text.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return parts;
}

// A name a file or folder can have, and that the system takes as written.
static bool IsPlainPart(const std::wstring& part)
{
    if (part == L"." || part == L"..")
        return false;
    wchar_t cLast = part[part.size() - 1];
    if (cLast == L'.' || cLast == L' ')
        return false;
    for (size_t i = 0; i < part.size(); i++)
    {
        wchar_t c = part[i];
        if (c < 0x20 || wcschr(L"<>:\"|?*", c))
            return false;
    }
    return true;
}

// The device rule reads bytes of the Western code page: ASCII as it is, the
// superscript digits that also name ports as their bytes there, anything else
// as a byte that plays no part in a device name.
static bool IsWideDeviceName(const std::wstring& path)
{
    std::string bytes(path.size(), '\x80');
    for (size_t i = 0; i < path.size(); i++)
    {
        wchar_t c = path[i];
        if (c < 0x80 || c == 0xB9 || c == 0xB2 || c == 0xB3)
            bytes[i] = static_cast<char>(c);
    }
    return IsDeviceName(bytes.c_str());
}

// "C:\a\b" or "\\server\share\a" with every part plain; false for anything else.
static bool NormaliseBrowsePath(const std::wstring& path, std::wstring* pOut)
{
    if (path.empty() || path.size() > MAX_BROWSE_PATH || path.find(L'\0') != std::wstring::npos)
        return false;
    std::wstring text = path;
    for (size_t i = 0; i < text.size(); i++)
    {
        if (text[i] == L'/')
            text[i] = L'\\';
    }
    if (IsWideDeviceName(text))
        return false; // also the "\\?\", "\\.\" and "\??\" forms
    std::wstring normalised;
    size_t nRest = 0;
    size_t nRootParts = 0; // the server and share of a network path
    if (text.size() >= 3 && IsAsciiLetter(text[0]) && text[1] == L':' && text[2] == L'\\')
    {
        normalised = text.substr(0, 2);
        nRest = 3;
    }
    else if (text.size() >= 3 && text[0] == L'\\' && text[1] == L'\\' && text[2] != L'\\')
    {
        normalised = L"\\";
        nRest = 2;
        nRootParts = 2;
    }
    else
        return false;
    size_t nParts = 0;
    for (const std::wstring& part : SplitFrom(text, nRest, L'\\'))
    {
        if (part.empty())
            continue;
        if (!IsPlainPart(part))
            return false;
        normalised += L"\\" + part;
        nParts++;
    }
    if (nParts < nRootParts)
        return false;
    if (nParts == 0)
        normalised += L"\\"; // a drive's root keeps its separator: "C:" alone is relative
    *pOut = normalised;
    return true;
}

static bool StartsWithIgnoringCase(const std::wstring& text, const std::wstring& prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); i++)
    {
        if (LowerAscii(text[i]) != LowerAscii(prefix[i]))
            return false;
    }
    return true;
}

// Inside on whole parts: "C:\Music\x" is in "C:\Music", "C:\Music2" is not.
static bool IsInsideFolder(const std::wstring& path, const std::wstring& folder)
{
    if (!StartsWithIgnoringCase(path, folder))
        return false;
    return path.size() == folder.size() || folder[folder.size() - 1] == L'\\' ||
           path[folder.size()] == L'\\';
}

bool IsInsideBrowseFolders(const std::wstring& path, const std::wstring& folderList,
                           std::wstring* pNormalised)
{
    std::wstring normalised;
    if (!NormaliseBrowsePath(path, &normalised))
        return false;
    for (const std::wstring& entry : SplitFrom(folderList, 0, L';'))
    {
        size_t nFirst = entry.find_first_not_of(L' ');
        size_t nLast = entry.find_last_not_of(L' ');
        std::wstring folder;
        if (nFirst == std::wstring::npos ||
            !NormaliseBrowsePath(entry.substr(nFirst, nLast - nFirst + 1), &folder))
            continue;
        if (IsInsideFolder(normalised, folder))
        {
            *pNormalised = folder + normalised.substr(folder.size());
            return true;
        }
    }
    return false;
}

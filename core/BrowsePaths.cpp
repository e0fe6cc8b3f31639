#include "BrowsePaths.h"
#include "DeviceNames.h"
#include <string.h>

static bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

static char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A name a file or folder can have, and that the system takes as written.
static bool IsPlainPart(const std::string& part)
{
    if (part == "." || part == "..")
        return false;
    char cLast = part[part.size() - 1];
    if (cLast == '.' || cLast == ' ')
        return false;
    for (size_t i = 0; i < part.size(); i++)
    {
        unsigned char c = static_cast<unsigned char>(part[i]);
        if (c < 0x20 || strchr("<>:\"|?*", c))
            return false;
    }
    return true;
}

// "C:\a\b" or "\\server\share\a" with every part plain; false for anything else.
static bool NormaliseBrowsePath(const std::string& path, std::string* pOut)
{
    if (path.empty() || path.size() > MAX_BROWSE_PATH || path.find('\0') != std::string::npos)
        return false;
    std::string text = path;
    for (size_t i = 0; i < text.size(); i++)
    {
        if (text[i] == '/')
            text[i] = '\\';
    }
    if (IsDeviceName(text.c_str()))
        return false; // also the "\\?\", "\\.\" and "\??\" forms
    std::string normalised;
    size_t nRest = 0;
    size_t nRootParts = 0; // the server and share of a network path
    if (text.size() >= 3 && IsAsciiLetter(text[0]) && text[1] == ':' && text[2] == '\\')
    {
        normalised = text.substr(0, 2);
        nRest = 3;
    }
    else if (text.size() >= 3 && text[0] == '\\' && text[1] == '\\' && text[2] != '\\')
    {
        normalised = "\\";
        nRest = 2;
        nRootParts = 2;
    }
    else
        return false;
    size_t nParts = 0;
    while (nRest < text.size())
    {
        size_t nEnd = text.find('\\', nRest);
        if (nEnd == std::string::npos)
            nEnd = text.size();
        std::string part = text.substr(nRest, nEnd - nRest);
        nRest = nEnd + 1;
        if (part.empty())
            continue;
        if (!IsPlainPart(part))
            return false;
        normalised += "\\" + part;
        nParts++;
    }
    if (nParts < nRootParts)
        return false;
    if (nParts == 0)
        normalised += "\\"; // a drive's root keeps its separator: "C:" alone is relative
    *pOut = normalised;
    return true;
}

static bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix)
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
static bool IsInsideFolder(const std::string& path, const std::string& folder)
{
    if (!StartsWithIgnoringCase(path, folder))
        return false;
    return path.size() == folder.size() || folder[folder.size() - 1] == '\\' ||
           path[folder.size()] == '\\';
}

bool IsInsideBrowseFolders(const std::string& path, const std::string& folderList,
                           std::string* pNormalised)
{
    std::string normalised;
    if (!NormaliseBrowsePath(path, &normalised))
        return false;
    size_t nStart = 0;
    while (nStart < folderList.size())
    {
        size_t nEnd = folderList.find(';', nStart);
        if (nEnd == std::string::npos)
            nEnd = folderList.size();
        std::string entry = folderList.substr(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        size_t nFirst = entry.find_first_not_of(' ');
        size_t nLast = entry.find_last_not_of(' ');
        std::string folder;
        if (nFirst == std::string::npos ||
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

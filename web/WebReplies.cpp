#include "WebReplies.h"
#include <stdio.h>
#include <string.h>
#include "JsonText.h"

static const size_t TAG_LENGTH = 7;

static bool HasTag(const std::string& reply, const char* pszTag, size_t nMinSize)
{
    return reply.size() >= nMinSize && reply.compare(0, TAG_LENGTH, pszTag) == 0;
}

static int Be32(const std::string& bytes, size_t nAt)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data()) + nAt;
    return static_cast<int>((static_cast<unsigned>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) |
                            p[3]);
}

static int Be16(const std::string& bytes, size_t nAt)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data()) + nAt;
    return (p[0] << 8) | p[1];
}

bool DecodeStatusReply(const std::string& reply, WebStatus* pStatus)
{
    const size_t FIXED = 18;
    size_t nEnd = reply.find('\0', FIXED);
    if (!HasTag(reply, "INF2ACK", FIXED + 1) || nEnd == std::string::npos)
        return false;
    pStatus->nState = static_cast<unsigned char>(reply[7]);
    pStatus->nLength = Be32(reply, 8);
    pStatus->nPosition = Be32(reply, 12);
    pStatus->nShuffle = static_cast<unsigned char>(reply[16]);
    pStatus->nRepeat = static_cast<unsigned char>(reply[17]);
    pStatus->title = reply.substr(FIXED, nEnd - FIXED);
    return true;
}

static const unsigned KIND_FOLDER_LISTED = 1;
static const unsigned KIND_FILE = 2;

bool DecodeFolderListing(const std::string& reply, std::vector<WebListEntry>* pEntries)
{
    pEntries->clear();
    if (!HasTag(reply, "LISTACK", TAG_LENGTH + 2))
        return false;
    size_t nAt = TAG_LENGTH;
    bool bRoot = true;
    std::string rootName;
    while (nAt < reply.size())
    {
        unsigned nHead = static_cast<unsigned char>(reply[nAt]);
        if (nHead == 0xFF)
            return nAt + 2 == reply.size() && reply[nAt + 1] == '\0';
        size_t nEnd = reply.find('\0', nAt + 1);
        if (nEnd == std::string::npos)
            return false;
        std::string name = reply.substr(nAt + 1, nEnd - nAt - 1);
        nAt = nEnd + 1;
        unsigned nKind = nHead & 0x0F;
        if (bRoot)
        {
            // Only the root's contents follow in a one-level listing.
            if ((nHead >> 4) != 0 || nKind != KIND_FOLDER_LISTED)
                return false;
            rootName = name;
            bRoot = false;
            continue;
        }
        if (nKind == KIND_FOLDER_LISTED || name.empty())
            return false;
        // Under the nameless root of several folders, each name is a whole path.
        WebListEntry entry = {name, rootName.empty() ? name : rootName + "\\" + name,
                              nKind != KIND_FILE};
        pEntries->push_back(entry);
    }
    return false;
}

bool DecodePlaylistReply(const std::string& reply, int* pIndex, std::string* pText, bool* pbHasText)
{
    const size_t HEADER = TAG_LENGTH + 2;
    if (!HasTag(reply, "PLSTACK", HEADER + 1) || reply[reply.size() - 1] != '\0')
        return false;
    *pIndex = Be16(reply, TAG_LENGTH);
    // No text shows as the header twice and one zero byte.
    *pbHasText =
        !(reply.size() == 2 * HEADER + 1 && reply.compare(HEADER, HEADER, reply, 0, HEADER) == 0);
    pText->clear();
    if (*pbHasText)
        pText->assign(reply, HEADER, reply.size() - HEADER - 1);
    return true;
}

static std::string FileNameOf(const std::string& path)
{
    size_t nSlash = path.find_last_of("\\/");
    return nSlash == std::string::npos ? path : path.substr(nSlash + 1);
}

std::vector<std::string> PlaylistTitles(const std::string& text)
{
    std::vector<std::string> titles;
    std::string pendingTitle;
    size_t nAt = 0;
    while (nAt < text.size())
    {
        size_t nEnd = text.find('\n', nAt);
        if (nEnd == std::string::npos)
            nEnd = text.size();
        std::string line = text.substr(nAt, nEnd - nAt);
        nAt = nEnd + 1;
        if (!line.empty() && line[line.size() - 1] == '\r')
            line.erase(line.size() - 1);
        if (line.compare(0, 8, "#EXTINF:") == 0)
        {
            size_t nComma = line.find(',');
            pendingTitle = nComma == std::string::npos ? "" : line.substr(nComma + 1);
            continue;
        }
        if (line.empty() || line[0] == '#')
            continue;
        titles.push_back(pendingTitle.empty() ? FileNameOf(line) : pendingTitle);
        pendingTitle.clear();
    }
    return titles;
}

bool DecodePlaylistLengthReply(const std::string& reply, int* pnCount)
{
    if (reply.size() != TAG_LENGTH + 2 || !HasTag(reply, "PLENACK", TAG_LENGTH + 2))
        return false;
    *pnCount = Be16(reply, TAG_LENGTH);
    return true;
}

bool DecodeVersionReply(const std::string& reply, std::string* pVersion)
{
    if (reply.size() != TAG_LENGTH + 2 || !HasTag(reply, "VERSACK", TAG_LENGTH + 2))
        return false;
    char szVersion[16];
    snprintf(szVersion, sizeof(szVersion), "%d.%d", static_cast<unsigned char>(reply[7]),
             static_cast<unsigned char>(reply[8]));
    *pVersion = szVersion;
    return true;
}

const char* PlayStateName(int nState)
{
    switch (nState)
    {
    case 1:
        return "playing";
    case 3:
        return "paused";
    }
    return "stopped";
}

static const char* const s_appNames[] = {"Winamp 2", "Winamp 3", "Windows Media Player",
                                         "PowerPoint Viewer", "PowerPoint"};
static const int APP_KINDS = 5;
static const int FIRST_SLIDES_KIND = 3;

std::string StatusJson(const WebStatus& status, int nKind, long long nVersion, TextToUtf8 toUtf8)
{
    bool bKnownKind = nKind >= 0 && nKind < APP_KINDS;
    char szNumbers[160];
    snprintf(szNumbers, sizeof(szNumbers),
             "{\"version\":%lld,\"state\":\"%s\",\"length\":%d,\"position\":%d,"
             "\"shuffle\":%s,\"repeat\":%s,\"slides\":%s,\"app\":",
             nVersion, PlayStateName(status.nState), status.nLength, status.nPosition,
             status.nShuffle ? "true" : "false", status.nRepeat ? "true" : "false",
             nKind >= FIRST_SLIDES_KIND && bKnownKind ? "true" : "false");
    return szNumbers + JsonString(bKnownKind ? s_appNames[nKind] : "") +
           ",\"title\":" + JsonString(toUtf8(status.title)) + "}";
}

std::string ListingJson(const std::vector<WebListEntry>& entries, TextToUtf8 toUtf8)
{
    std::string json = "{\"entries\":[";
    for (size_t i = 0; i < entries.size(); i++)
    {
        if (i > 0)
            json += ",";
        json += "{\"name\":" + JsonString(toUtf8(entries[i].name)) +
                ",\"path\":" + JsonString(toUtf8(entries[i].path)) +
                ",\"folder\":" + (entries[i].bFolder ? "true" : "false") + "}";
    }
    return json + "]}";
}

std::string PlaylistJson(int nIndex, bool bHasText, const std::vector<std::string>& titles,
                         int nLength, TextToUtf8 toUtf8)
{
    char szHead[96];
    snprintf(szHead, sizeof(szHead), "{\"current\":%d,\"available\":%s,\"length\":%d,\"entries\":[",
             nIndex, bHasText ? "true" : "false",
             bHasText ? static_cast<int>(titles.size()) : nLength);
    std::string json = szHead;
    for (size_t i = 0; i < titles.size(); i++)
        json += (i > 0 ? "," : "") + JsonString(toUtf8(titles[i]));
    return json + "]}";
}

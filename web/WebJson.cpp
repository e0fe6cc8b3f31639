#include "WebJson.h"
#include "TextLines.h"
#include <stdio.h>
#include <string.h>
#include "JsonText.h"
#include "../core/BrowseTree.h"
#include "../core/PlayerKinds.h"
#include "../players/PlayerController.h"

std::vector<WebListEntry> FolderEntries(const BrowseNode* pRoot)
{
    std::vector<WebListEntry> entries;
    if (!pRoot)
        return entries;
    std::string root = pRoot->name;
    for (const BrowseNode* pChild = pRoot->child; pChild; pChild = pChild->next)
    {
        WebListEntry entry = {pChild->name,
                              root.empty() ? pChild->name : root + "\\" + pChild->name,
                              pChild->kind != KIND_FILE};
        entries.push_back(entry);
    }
    return entries;
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
    for (const std::string& line : TextLines(text))
    {
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

const char* PlayStateName(int nState)
{
    switch (nState)
    {
    case PLAY_STATE_PLAYING:
        return "playing";
    case PLAY_STATE_PAUSED:
        return "paused";
    }
    return "stopped";
}

std::string TitleWithoutPlaylistNumber(const std::string& title)
{
    size_t nDigits = title.find_first_not_of("0123456789");
    if (nDigits == 0 || nDigits == std::string::npos || title.compare(nDigits, 2, ". ") != 0)
        return title;
    return title.substr(nDigits + 2);
}

static std::string MediaJson(const WebStatus& status)
{
    const MediaDetails& media = status.media;
    std::string json =
        ",\"track\":" + JsonString(media.title) + ",\"artist\":" + JsonString(media.artist) +
        ",\"album\":" + JsonString(media.album) + ",\"player\":" + JsonString(media.appName) +
        ",\"art\":" + (status.art.empty() ? "null" : JsonString(status.art)) +
        ",\"automatic\":" + (media.bAppChosen ? "false" : "true") + ",\"apps\":[";
    for (size_t i = 0; i < media.apps.size(); i++)
        json += std::string(i > 0 ? "," : "") + "{\"id\":" + JsonString(media.apps[i].id) +
                ",\"name\":" + JsonString(media.apps[i].name) +
                ",\"driven\":" + (media.apps[i].bDriven ? "true" : "false") + "}";
    return json + "]";
}

std::string StatusJson(const WebStatus& status, int nKind, long long nVersion, TextToUtf8 toUtf8)
{
    bool bKnownKind = nKind >= 0 && nKind < APP_KIND_COUNT;
    char szNumbers[192];
    snprintf(szNumbers, sizeof(szNumbers),
             "{\"version\":%lld,\"state\":\"%s\",\"length\":%d,\"position\":%d,"
             "\"shuffle\":%s,\"repeat\":%s,\"volume\":%d,\"slides\":%s,\"app\":",
             nVersion, PlayStateName(status.nState), status.nLength, status.nPosition,
             status.nShuffle ? "true" : "false", status.nRepeat ? "true" : "false", status.nVolume,
             bKnownKind && KindInfo(nKind).bSlideShow ? "true" : "false");
    std::string title =
        nKind == APP_WINAMP2 ? TitleWithoutPlaylistNumber(status.title) : status.title;
    return szNumbers + JsonString(bKnownKind ? KindInfo(nKind).pszPageName : "") +
           ",\"title\":" + JsonString(toUtf8(title)) + MediaJson(status) + "}";
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

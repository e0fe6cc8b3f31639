// The phone's replies as the web page sees them: the bytes a command handler
// wrote to the in-memory link, decoded, and the JSON the page reads. Plain C++.
// Names on the wire are in the PC's ANSI code page; the caller passes the
// conversion to UTF-8 (the system's at the edge, a fixed one in the tests).
#pragma once
#include <string>
#include <vector>

typedef std::string (*TextToUtf8)(const std::string& ansi);

// INF2ACK: state, length, position, shuffle, repeat and the title up to its zero byte.
struct WebStatus
{
    int nState; // 0 stopped, 1 playing, 3 paused
    int nLength;
    int nPosition;
    int nShuffle;
    int nRepeat;
    std::string title;
};
bool DecodeStatusReply(const std::string& reply, WebStatus* pStatus);

// One entry of a DLST listing, with its full path.
struct WebListEntry
{
    std::string name;
    std::string path;
    bool bFolder;
};
// LISTACK of a one-level listing: the root record (a folder, or no name when the
// configured folders are listed) and its children up to the end mark FF 00.
bool DecodeFolderListing(const std::string& reply, std::vector<WebListEntry>* pEntries);

// PLSTACK: the current entry's index and the playlist text (empty when the
// controller delivered none, which the reply shows as a second header).
bool DecodePlaylistReply(const std::string& reply, int* pIndex, std::string* pText,
                         bool* pbHasText);
// The entries of a playlist file: each path line, titled by the #EXTINF line
// before it or else by the file's name.
std::vector<std::string> PlaylistTitles(const std::string& text);

// PLENACK: the number of playlist entries (its lowest 16 bits).
bool DecodePlaylistLengthReply(const std::string& reply, int* pnCount);

// VERSACK: "1.72".
bool DecodeVersionReply(const std::string& reply, std::string* pVersion);

const char* PlayStateName(int nState);

// The state the page shows: the status, the active application's kind (0..4)
// and the version of the state the page waits on (-1 when not watched).
std::string StatusJson(const WebStatus& status, int nKind, long long nVersion, TextToUtf8 toUtf8);
std::string ListingJson(const std::vector<WebListEntry>& entries, TextToUtf8 toUtf8);
// nLength: the entries' number when the application tells no titles (PLEN).
std::string PlaylistJson(int nIndex, bool bHasText, const std::vector<std::string>& titles,
                         int nLength, TextToUtf8 toUtf8);

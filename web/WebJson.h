// The JSON the web page reads: the state, a folder's entries and the playlist.
// Names on the PC are in its ANSI code page; the caller passes the conversion to
// UTF-8 (the system's at the edge, a fixed one in the tests). Plain C++.
#pragma once
#include <string>
#include <vector>
#include "../players/PlayerController.h"

typedef std::string (*TextToUtf8)(const std::string& ansi);

// What is playing, as the page shows it.
struct WebStatus
{
    int nState; // 0 stopped, 1 playing, 3 paused
    int nLength;
    int nPosition;
    int nShuffle;
    int nRepeat;
    std::string title;
    int nVolume;        // 0..255, -1 when the application cannot tell
    MediaDetails media; // in UTF-8 already
    std::string art;    // the artwork's key for /api/art?v=, "" with none
};

// One entry of a folder, with its full path.
struct WebListEntry
{
    std::string name;
    std::string path;
    bool bFolder;
};

struct BrowseNode;
// The entries of a one-level listing (the root's children; none for NULL).
// Under the nameless root of several folders, each name is a whole path.
std::vector<WebListEntry> FolderEntries(const BrowseNode* pRoot);

// The entries of a playlist file: each path line, titled by the #EXTINF line
// before it or else by the file's name.
std::vector<std::string> PlaylistTitles(const std::string& text);

const char* PlayStateName(int nState);

// Winamp 2's caption starts with the entry's number in the playlist ("3. Artist
// - Song"); the page shows the title without it.
std::string TitleWithoutPlaylistNumber(const std::string& title);

// The state the page shows: the status, the active application's kind and the
// version of the state the page waits on (-1 when not watched). Winamp 2's
// title goes without its playlist number. After them what an app with a media
// session tells besides (empty, null and no apps for the others): the track's
// own title, artist, album, the app that plays, the artwork's key, whether the
// system's current session is driven, and the apps that could be.
std::string StatusJson(const WebStatus& status, int nKind, long long nVersion, TextToUtf8 toUtf8);
std::string ListingJson(const std::vector<WebListEntry>& entries, TextToUtf8 toUtf8);
// nLength: the entries' number when the application tells no titles (PLEN).
std::string PlaylistJson(int nIndex, bool bHasText, const std::vector<std::string>& titles,
                         int nLength, TextToUtf8 toUtf8);

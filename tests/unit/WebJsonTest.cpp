// What the page reads: the JSON of the state, a folder and the playlist, the
// actions' commands and numbers, and when the watched state counts as changed.
#include <gtest/gtest.h>
#include "core/BrowseTree.h"
#include "core/CommandSet.h"
#include "web/ImageType.h"
#include "web/StatusChange.h"
#include "web/JsonReader.h"
#include "web/WebActions.h"
#include "web/WebJson.h"

static const TextToUtf8 Same = [](const std::string& text) { return text; };

TEST(WebJson, TheStateThePageReads)
{
    WebStatus status = {1, 180, 65, 1, 0, "2. Song", 128};
    EXPECT_EQ("{\"version\":7,\"state\":\"playing\",\"length\":180,\"position\":65,"
              "\"shuffle\":true,\"repeat\":false,\"volume\":128,\"slides\":false,"
              "\"app\":\"Winamp 2\",\"title\":\"Song\",\"track\":\"\",\"artist\":\"\",\"album\":"
              "\"\",\"player\":\"\",\"art\":null,\"automatic\":true,\"apps\":[]}",
              StatusJson(status, 0, 7, Same));
    // A media session's details come in UTF-8, unlike the phone's title.
    status.media.title = "Caf\xC3\xA9";
    status.media.album = "\"B\"";
    status.media.bAppChosen = true;
    status.media.apps = {{"S.exe", "S", false}, {"M!Z", "Z", true}};
    status.art = "1f-3";
    std::string json = StatusJson(status, 5, 1, [](const std::string&) { return std::string(); });
    EXPECT_EQ("\"track\":\"Caf\xC3\xA9\",\"artist\":\"\",\"album\":\"\\\"B\\\"\",\"player\":\"\","
              "\"art\":\"1f-3\",\"automatic\":false,\"apps\":[{\"id\":\"S.exe\",\"name\":\"S\","
              "\"driven\":false},{\"id\":\"M!Z\",\"name\":\"Z\",\"driven\":true}]}",
              json.substr(json.find("\"track\"")));
    EXPECT_NE(std::string::npos, StatusJson(status, 1, 1, Same).find("\"title\":\"2. Song\""))
        << "only Winamp 2's caption has the number in front";
    status.nState = 3; // and PowerPoint: the page shows the slide buttons
    EXPECT_NE(std::string::npos, StatusJson(status, 4, 1, Same).find("\"paused\""));
    EXPECT_NE(std::string::npos, StatusJson(status, 4, 1, Same).find("\"slides\":true"));
    EXPECT_NE(std::string::npos,
              StatusJson(status, 5, 1, Same).find("\"app\":\"Any player (media keys)\""));
}

TEST(WebJson, Winamp2TitlesGoWithoutTheirPlaylistNumber)
{
    const std::pair<const char*, const char*> cases[] = {
        {"12. Artist - Song", "Artist - Song"},
        {"1. 2. Intro", "2. Intro"}, // only the number Winamp put in front
        {"99 Luftballons", "99 Luftballons"},
        {"1.Song", "1.Song"},
        {". Song", ". Song"},
        {"7. ", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, TitleWithoutPlaylistNumber(c.first)) << c.first;
}

// A root and its children, as a one-level listing leaves them.
static BrowseNode* Tree(const char* pszRoot,
                        const std::vector<std::pair<const char*, bool>>& children)
{
    BrowseNode* pRoot = CreateBrowseNode(pszRoot);
    CChildAppender appender(pRoot);
    for (const auto& child : children)
        appender.Append(child.first, child.second ? KIND_FOLDER_NOT_LISTED : KIND_FILE);
    FinishFolderChildren(appender.Last());
    return pRoot;
}

TEST(WebJson, FolderEntriesGetTheirPaths)
{
    const std::pair<BrowseNode*, std::string> cases[] = {
        {Tree("C:\\M", {{"a.mp3", false}, {"Rock", true}}),
         "{\"entries\":[{\"name\":\"a.mp3\",\"path\":\"C:\\\\M\\\\a.mp3\",\"folder\":false},"
         "{\"name\":\"Rock\",\"path\":\"C:\\\\M\\\\Rock\",\"folder\":true}]}"},
        // Several configured folders: a nameless root, each child a whole path.
        {Tree("", {{"C:\\A", true}, {"D:\\B", true}}),
         "{\"entries\":[{\"name\":\"C:\\\\A\",\"path\":\"C:\\\\A\",\"folder\":true},"
         "{\"name\":\"D:\\\\B\",\"path\":\"D:\\\\B\",\"folder\":true}]}"},
        {Tree("C:\\M", {}), "{\"entries\":[]}"},
        {NULL, "{\"entries\":[]}"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.second, ListingJson(FolderEntries(c.first), Same));
        DestroyBrowseTree(c.first);
    }
}

TEST(WebJson, PlaylistWithTitlesOrOnlyItsLength)
{
    std::string m3u = "#EXTM3U\r\n#EXTINF:180,Artist - Song\r\nC:\\M\\a.mp3\r\nD:\\b.mp3\n";
    EXPECT_EQ("{\"current\":1,\"available\":true,\"length\":2,\"entries\":[\"Artist - Song\","
              "\"b.mp3\"]}",
              PlaylistJson(1, true, PlaylistTitles(m3u), 0, Same));
    EXPECT_EQ("{\"current\":3,\"available\":false,\"length\":4464,\"entries\":[]}",
              PlaylistJson(3, false, PlaylistTitles(""), 4464, Same));
}

TEST(WebActions, RequestsGiveTheirCommandAndNumber)
{
    const std::pair<const char*, std::pair<int, long>> cases[] = {
        {"{\"op\":\"action\",\"name\":\"play\"}", {CMD_STRT, 0}},
        {"{\"op\":\"action\",\"name\":\"stop-after\"}", {CMD_STEN, 0}},
        {"{\"op\":\"action\",\"name\":\"clear\"}", {CMD_RMAL, 0}},
        {"{\"op\":\"volume\",\"value\":128}", {CMD_VOLM, 128}},
        {"{\"op\":\"volume\",\"value\":256}", {CMD_UNKNOWN, 0}},
        {"{\"op\":\"volume\",\"value\":1.5}", {CMD_UNKNOWN, 0}},
        {"{\"op\":\"volume\",\"value\":\"9\"}", {CMD_UNKNOWN, 0}},
        {"{\"op\":\"volume\"}", {CMD_UNKNOWN, 0}},
        {"{\"op\":\"action\",\"name\":\"volume\"}", {CMD_UNKNOWN, 0}},
        {"{\"op\":\"next\"}", {CMD_UNKNOWN, 0}},
        {"{\"op\":\"shuffle\",\"on\":1}", {CMD_SHFL, 1}},
        {"{\"op\":\"repeat\",\"on\":2}", {CMD_UNKNOWN, 0}},
        {"{\"op\":\"select\",\"index\":258}", {CMD_SLCT, 258}},
        {"{\"op\":\"seek\",\"seconds\":3e2}", {CMD_SEEK, 300}},
        {"{\"op\":\"action\",\"name\":\"shutdown\"}", {CMD_UNKNOWN, 0}}, // an op of its own
        {"{\"op\":\"action\",\"name\":\"EXIT\"}", {CMD_UNKNOWN, 0}},
    };
    for (const auto& c : cases)
    {
        CJsonValue request;
        ASSERT_TRUE(ParseJson(c.first, &request)) << c.first;
        int nCommand = CMD_UNKNOWN;
        long nValue = 0;
        bool bFound = ParseWebAction(request, &nCommand, &nValue);
        EXPECT_EQ(c.second.first, bFound ? nCommand : CMD_UNKNOWN) << c.first;
        EXPECT_EQ(c.second.second, bFound ? nValue : 0) << c.first;
    }
}

TEST(StatusChange, OnlyWhatThePageCannotFollowByItselfCounts)
{
    WatchedState before = {{1, 180, 60, 0, 0, "Song"}, 0};
    struct Case
    {
        const char* pszWhat;
        WatchedState now;
        unsigned nElapsedMs;
        bool bChange;
    } cases[] = {
        {"same", before, 250, false},
        {"position moves while playing", {{1, 180, 61, 0, 0, "Song"}, 0}, 1000, false},
        {"a long pause between readings", {{1, 180, 70, 0, 0, "Song"}, 0}, 10000, false},
        {"seek forward", {{1, 180, 120, 0, 0, "Song"}, 0}, 250, true},
        {"paused", {{3, 180, 60, 0, 0, "Song"}, 0}, 250, true},
        {"title", {{1, 180, 60, 0, 0, "Other"}, 0}, 250, true},
        {"application", {{1, 180, 60, 0, 0, "Song"}, 3}, 250, true},
        {"volume set by a phone", {{1, 180, 60, 0, 0, "Song", 200}, 0}, 250, true},
        {"position no longer known", {{1, 180, -1, 0, 0, "Song"}, 0}, 250, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.bChange, IsStateChange(before, c.now, c.nElapsedMs)) << c.pszWhat;
    // Playing as a key press left it, or a session without a timeline: no position moves.
    WatchedState unknown = {{1, -1, -1, 0, 0, "Song"}, 5};
    EXPECT_FALSE(IsStateChange(unknown, unknown, 10000));
    WatchedState newArt = unknown;
    newArt.status.art = "1f-4"; // a session's details count as the rest does
    EXPECT_TRUE(IsStateChange(unknown, newArt, 250));
}

TEST(ImageType, OnlyPicturesThatCannotActAsAPageOfTheSite)
{
    EXPECT_EQ("image/jpeg", ServedImageType(" IMAGE/JPEG; q=1"));
    for (std::string type : {"image/svg+xml", "image/vnd.x+xml", "text/html", "image/",
                             "image/png/x", "image/png\r\nSet-Cookie: a=b", "image/png\x7F", ""})
        EXPECT_EQ("", ServedImageType(type)) << type;
}

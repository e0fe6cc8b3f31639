// The page's view of the phone's replies and actions: decoding what the command
// handlers wrote, the JSON the page reads, the actions' parameter bytes, and
// when the watched state counts as changed.
#include <gtest/gtest.h>
#include "web/StatusChange.h"
#include "web/WebActions.h"
#include "web/WebReplies.h"

static const TextToUtf8 Same = [](const std::string& text) { return text; };

// A literal's bytes, zero bytes included.
#define BYTES(literal) std::string(literal, sizeof(literal) - 1)

TEST(WebReplies, StatusReplyDecodesToTheJsonThePageReads)
{
    WebStatus status;
    ASSERT_TRUE(DecodeStatusReply(
        BYTES("INF2ACK\x01\x00\x00\x00\xB4\x00\x00\x00\x41\x01\x00Song\x00"), &status));
    EXPECT_EQ("{\"version\":7,\"state\":\"playing\",\"length\":180,\"position\":65,"
              "\"shuffle\":true,\"repeat\":false,\"slides\":false,\"app\":\"Winamp 2\","
              "\"title\":\"Song\"}",
              StatusJson(status, 0, 7, Same));
    status.nState = 3; // and PowerPoint: the page shows the slide buttons
    EXPECT_NE(std::string::npos, StatusJson(status, 4, 1, Same).find("\"paused\""));
    EXPECT_NE(std::string::npos, StatusJson(status, 4, 1, Same).find("\"slides\":true"));
    EXPECT_FALSE(
        DecodeStatusReply(BYTES("INF2ACK\x01\x00\x00\x00\xB4\x00\x00\x00\x41\x01\x00So"), &status))
        << "no end mark";
}

static std::string Record(int nPlaceAndKind, const std::string& name)
{
    return static_cast<char>(nPlaceAndKind) + name + std::string(1, '\0');
}

TEST(WebReplies, FolderListingsGiveEachEntryItsPath)
{
    const std::string tag = "LISTACK", end = BYTES("\xFF\x00"), root = Record(0x01, "C:\\M");
    const std::pair<std::string, std::string> cases[] = {
        // the reply and its JSON, none: refused
        {tag + root + Record(0x12, "a.mp3") + Record(0x43, "Rock") + end,
         "{\"entries\":[{\"name\":\"a.mp3\",\"path\":\"C:\\\\M\\\\a.mp3\",\"folder\":false},"
         "{\"name\":\"Rock\",\"path\":\"C:\\\\M\\\\Rock\",\"folder\":true}]}"},
        // Several configured folders: a nameless root, each child a whole path.
        {tag + Record(0x01, "") + Record(0x13, "C:\\A") + Record(0x43, "D:\\B") + end,
         "{\"entries\":[{\"name\":\"C:\\\\A\",\"path\":\"C:\\\\A\",\"folder\":true},"
         "{\"name\":\"D:\\\\B\",\"path\":\"D:\\\\B\",\"folder\":true}]}"},
        {tag + root + end, "{\"entries\":[]}"},
        {tag + end, "{\"entries\":[]}"},
        {tag + root + Record(0x12, "a.mp3"), ""},      // cut short
        {tag + root + Record(0x11, "Sub") + end, ""},  // deeper than one level
        {tag + root + end + std::string(1, '\0'), ""}, // bytes after the end
    };
    for (const auto& c : cases)
    {
        std::vector<WebListEntry> entries;
        bool bDecoded = DecodeFolderListing(c.first, &entries);
        EXPECT_EQ(!c.second.empty(), bDecoded) << c.second;
        EXPECT_EQ(c.second, bDecoded ? ListingJson(entries, Same) : "");
    }
}

TEST(WebReplies, PlaylistWithTextOrTheDoubleHeader)
{
    int nIndex = 0;
    bool bHasText = false;
    std::string text;
    std::string m3u = "#EXTM3U\r\n#EXTINF:180,Artist - Song\r\nC:\\M\\a.mp3\r\nD:\\b.mp3\n";
    ASSERT_TRUE(DecodePlaylistReply(BYTES("PLSTACK\x00\x01") + m3u + BYTES("\x00"), &nIndex, &text,
                                    &bHasText));
    EXPECT_EQ(1, nIndex);
    EXPECT_EQ("{\"current\":1,\"available\":true,\"length\":2,\"entries\":[\"Artist - Song\","
              "\"b.mp3\"]}",
              PlaylistJson(nIndex, bHasText, PlaylistTitles(text), 0, Same));
    ASSERT_TRUE(DecodePlaylistReply(BYTES("PLSTACK\x00\x03PLSTACK\x00\x03\x00"), &nIndex, &text,
                                    &bHasText));
    int nLength = 0;
    ASSERT_TRUE(DecodePlaylistLengthReply(BYTES("PLENACK\x11\x70"), &nLength));
    EXPECT_EQ("{\"current\":3,\"available\":false,\"length\":4464,\"entries\":[]}",
              PlaylistJson(nIndex, bHasText, PlaylistTitles(text), nLength, Same));
}

TEST(WebActions, NamesGiveTheirCommandAndParameterBytes)
{
    struct Case
    {
        const char* pszName;
        const char* pszForm;
        const char* pszCommand; // NULL: refused
        std::string params;
    } cases[] = {
        {"play", "", "STRT", ""},
        {"stop-after", "", "STEN", ""},
        {"clear", "", "RMAL", ""},
        {"volume", "value=128", "VOLM", "\x80"},
        {"volume", "value=256", NULL, ""},
        {"volume", "value=1e2", NULL, ""},
        {"volume", "", NULL, ""},
        {"shuffle", "on=1", "SHFL", "\x01"},
        {"repeat", "on=2", NULL, ""},
        {"select", "index=258", "SLCT", "\x01\x02"},
        {"seek", "seconds=300", "SEEK", BYTES("\x00\x00\x01\x2C")},
        {"shutdown", "", NULL, ""}, // has a route of its own, behind its setting
        {"EXIT", "", NULL, ""},
    };
    for (const Case& c : cases)
    {
        char szCommand[5] = {};
        std::string params;
        bool bFound = FindWebAction(c.pszName, c.pszForm, szCommand, &params);
        EXPECT_EQ(c.pszCommand ? c.pszCommand : "", std::string(bFound ? szCommand : ""))
            << c.pszName << " " << c.pszForm;
        EXPECT_EQ(c.params, bFound ? params : "") << c.pszName;
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
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.bChange, IsStateChange(before, c.now, c.nElapsedMs)) << c.pszWhat;
}

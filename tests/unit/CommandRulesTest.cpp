#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "protocol/CommandRules.h"

TEST(CommandRules, VolumePercentRoundsDown)
{
    const unsigned volumes[] = {0, 1, 2, 3, 127, 128, 254, 255};
    const int percents[] = {0, 0, 0, 1, 49, 50, 99, 100};
    for (size_t i = 0; i < sizeof(volumes) / sizeof(volumes[0]); i++)
        EXPECT_EQ(percents[i], VolumePercent(volumes[i])) << volumes[i];
}

TEST(CommandRules, AnyNonZeroByteIsOn)
{
    EXPECT_STREQ("off", OnOffText(0));
    EXPECT_STREQ("on", OnOffText(1));
    EXPECT_STREQ("on", OnOffText(2));
    EXPECT_STREQ("on", OnOffText(255));
}

static std::string Reply(const unsigned char* pBytes, size_t nSize)
{
    return std::string(reinterpret_cast<const char*>(pBytes), nSize);
}

TEST(CommandRules, StatusReplyOfAPlayingSong)
{
    unsigned char reply[STATUS_REPLY_MAX];
    size_t nSize = BuildStatusReply("INFO", 1, 180, 65, 1, 0, "Song", false, reply);
    EXPECT_EQ(std::string("INFOACK\x01\x00\x00\x00\xB4\x00\x00\x00\x41\x01\x00Song", 22),
              Reply(reply, nSize));
    nSize = BuildStatusReply("INF2", 1, 180, 65, 1, 0, "Song", true, reply);
    EXPECT_EQ(std::string("INF2ACK\x01\x00\x00\x00\xB4\x00\x00\x00\x41\x01\x00Song\x00", 23),
              Reply(reply, nSize));
}

TEST(CommandRules, StatusReplyKeepsTheLowestBytesAndMinusOne)
{
    unsigned char reply[STATUS_REPLY_MAX];
    size_t nSize = BuildStatusReply("INFO", 3, -1, -1, 0x101, 0x2FF, "", false, reply);
    EXPECT_EQ(std::string("INFOACK\x03\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x01\xFF", 18),
              Reply(reply, nSize));
}

TEST(CommandRules, StatusReplyTitleIsAtMost255Bytes)
{
    std::string title(300, 't');
    unsigned char reply[STATUS_REPLY_MAX];
    EXPECT_EQ(18u + 255u + 1u, BuildStatusReply("INF2", 0, 0, 0, 0, 0, title.c_str(), true, reply));
    EXPECT_EQ(0, reply[18 + 255]);
}

TEST(CommandRules, CountRepliesCarryTheLowestSixteenBits)
{
    unsigned char reply[9];
    BuildCountReply("PLEN", 70000, reply);
    EXPECT_EQ(std::string("PLENACK\x11\x70", 9), Reply(reply, 9));
    BuildCountReply("PLST", 65536 + 3, reply);
    EXPECT_EQ(std::string("PLSTACK\x00\x03", 9), Reply(reply, 9));
}

TEST(CommandRules, DetailedInfoOrder)
{
    unsigned char reply[19];
    ASSERT_EQ(19u, BuildDetailedInfoReply(128, 44100, 2, reply));
    EXPECT_EQ(std::string("DINFACK\x00\x00\x00\x80\x00\x00\xAC\x44\x00\x00\x00\x02", 19),
              Reply(reply, 19));
}

TEST(CommandRules, DownloadReadsWhatIsLeftAtMostABufferAndNothingOfAnUnknownLength)
{
    const long long lefts[] = {-1, -0x100000000LL, 0, 1, 65535, 65536, 65537, 0x1FFFFFFFFLL};
    const unsigned sizes[] = {0, 0, 0, 1, 65535, 65536, 65536, 65536};
    for (size_t i = 0; i < sizeof(lefts) / sizeof(lefts[0]); i++)
        EXPECT_EQ(sizes[i], DownloadReadSize(lefts[i], 65536)) << lefts[i];
}

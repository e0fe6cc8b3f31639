#include <gtest/gtest.h>
#include <string.h>
#include "core/CommandSet.h"
#include "protocol/Wire.h"

TEST(Wire, PacksAndUnpacksBigEndian)
{
    struct Case
    {
        uint32_t value;
        unsigned char bytes[4];
    } cases[] = {
        {0, {0, 0, 0, 0}},
        {180, {0x00, 0x00, 0x00, 0xB4}},
        {5000, {0x00, 0x00, 0x13, 0x88}},
        {0x12345678, {0x12, 0x34, 0x56, 0x78}},
        {0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases)
    {
        unsigned char packed[4] = {};
        PackBE32(c.value, packed);
        EXPECT_EQ(0, memcmp(packed, c.bytes, 4)) << c.value;
        EXPECT_EQ(c.value, UnpackBE32(c.bytes));
    }
}

TEST(Wire, SeekBytesAllOnesAreMinusOne)
{
    const unsigned char bytes[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(-1, static_cast<int32_t>(UnpackBE32(bytes)));
}

TEST(Wire, SixteenBitValuesKeepTheLowestBits)
{
    unsigned char packed[2] = {};
    PackBE16(70000, packed); // 70000 - 65536 = 4464 = 0x1170
    EXPECT_EQ(0x11, packed[0]);
    EXPECT_EQ(0x70, packed[1]);
    const unsigned char index[2] = {0x01, 0x02};
    EXPECT_EQ(258u, UnpackBE16(index));
}

TEST(Wire, ReplyTagIsCommandAndAck)
{
    unsigned char tag[8] = {};
    WriteReplyTag("INFO", tag);
    EXPECT_EQ(0, memcmp(tag, "INFOACK", 7));
    EXPECT_EQ(0, tag[7]) << "the tag has no terminator of its own";
}

// Every method a browser sends, at the start of a connection; no command of the
// phone's starts so, nor does what merely resembles one.
TEST(Wire, HttpRequestStartsAreTheMethodsOnly)
{
    const std::pair<const char*, bool> cases[] = {
        {"GET ", true},  {"POST", true},      {"PUT ", true},  {"HEAD", true},  {"OPTI", true},
        {"DELE", true},  {"PATC", true},      {"CONN", true},  {"TRAC", true},  {"PRI ", true},
        {"GETS", false}, {"get ", false},     {"PUTS", false}, {"PRI*", false}, {"POS\0", false},
        {"PLAY", false}, {"\0\0\0\0", false}, {" GET", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, IsHttpRequestStart(c.first)) << c.first;
    for (int nId = 0; nId < CMD_COUNT; nId++)
        EXPECT_FALSE(IsHttpRequestStart(CommandName(nId))) << CommandName(nId);
}

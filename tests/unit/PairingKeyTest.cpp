// The pairing key's text both ways.
#include <gtest/gtest.h>
#include <string>
#include "web/PairingKey.h"

TEST(PairingKey, TextAndBytesGoBothWays)
{
    const struct
    {
        const char* pBytes; // 10 of them
        std::string text;
    } cases[] = {{"\0\0\0\0\0\0\0\0\0\0", "0000-0000-0000-0000"},
                 {"\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff", "ZZZZ-ZZZZ-ZZZZ-ZZZZ"},
                 {"\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a", "0410-6105-0R3G-G28A"},
                 {"\x00\x44\x32\x14\xc7\x42\x54\xb6\x35\xcf", "0123-4567-89AB-CDEF"},
                 {"\x84\x65\x3a\x56\xd7\xc6\x75\xbe\x77\xdf", "GHJK-MNPQ-RSTV-WXYZ"}};
    for (const auto& c : cases)
    {
        const std::string expected(c.pBytes, 10);
        EXPECT_EQ(c.text, PairingKeyText(expected));
        std::string bytes;
        ASSERT_TRUE(ParsePairingKey(c.text, &bytes)) << c.text;
        EXPECT_EQ(expected, bytes) << c.text;
    }
    EXPECT_EQ("", PairingKeyText(std::string(9, '\0')));
}

TEST(PairingKey, TypedKeysForgiveCaseSeparatorsAndLookAlikesOnly)
{
    std::string expected;
    ASSERT_TRUE(ParsePairingKey("0110-6105-0R3G-G28A", &expected));
    const char* const accepted[] = {"0110-6105-0R3G-G28A", "o1IO 6lO5-or3g g28a",
                                    "O1i06105OR3GG28A", "-0110--6105 0r3g-g28a-"};
    for (const char* pszTyped : accepted)
    {
        std::string bytes;
        EXPECT_TRUE(ParsePairingKey(pszTyped, &bytes)) << pszTyped;
        EXPECT_EQ(expected, bytes) << pszTyped;
    }
    const std::string key = "01106105OR3GG28A";
    const std::string refused[] = {"",
                                   key.substr(1),
                                   key + "0",
                                   key.substr(1) + "U",
                                   "0110_6105_0R3G_G28A",
                                   key.substr(1) + "\xc3\xa9"};
    for (const std::string& typed : refused)
    {
        std::string bytes = "untouched";
        EXPECT_FALSE(ParsePairingKey(typed, &bytes)) << typed;
        EXPECT_EQ("untouched", bytes);
    }
}

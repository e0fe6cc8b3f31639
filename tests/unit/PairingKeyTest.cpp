// The pairing key's text both ways, and the hex and base64 the channel carries bytes in.
#include <gtest/gtest.h>
#include <string>
#include "web/ByteText.h"
#include "web/PairingKey.h"

TEST(PairingKey, TextAndBytesGoBothWays)
{
    const struct
    {
        const char* pBytes; // 10 of them
        std::string text;
    } cases[] = {
        {"\0\0\0\0\0\0\0\0\0\0", "0000-0000-0000-0000"},
        {"\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff", "ZZZZ-ZZZZ-ZZZZ-ZZZZ"},
        {"\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a", "0410-6105-0R3G-G28A"},
        {"\x84\x21\x08\x42\x10\x84\x21\x08\x42\x10", "GGGG-GGGG-GGGG-GGGG"}, // 10000 repeated
        {"\x00\x44\x32\x14\xc7\x42\x54\xb6\x35\xcf", "0123-4567-89AB-CDEF"},
        {"\x84\x65\x3a\x56\xd7\xc6\x75\xbe\x77\xdf", "GHJK-MNPQ-RSTV-WXYZ"},
    };
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
    const char* const accepted[] = {"0110-6105-0R3G-G28A", "o1IO 6lO5-or3g g28a", "O1i06105OR3GG28A",
                                    "-0110--6105 0r3g-g28a-"};
    for (const char* pszTyped : accepted)
    {
        std::string bytes;
        EXPECT_TRUE(ParsePairingKey(pszTyped, &bytes)) << pszTyped;
        EXPECT_EQ(expected, bytes) << pszTyped;
    }
    const char* const refused[] = {"", "0110-6105-0R3G-G28", "0110-6105-0R3G-G28A0", "0110-6105-0R3G-G28U",
                                   "0110_6105_0R3G_G28A", "0110-6105-0R3G-G2\xc3\xa9", "0110\t6105-0R3G-G28A"};
    for (const char* pszTyped : refused)
    {
        std::string bytes = "untouched";
        EXPECT_FALSE(ParsePairingKey(pszTyped, &bytes)) << pszTyped;
        EXPECT_EQ("untouched", bytes);
    }
}

TEST(ByteText, HexAndBase64FollowTheirRfcAndRefuseWhatIsNot)
{
    std::string bytes;
    EXPECT_EQ("00ff10ab", HexFromBytes(std::string("\x00\xff\x10\xab", 4)));
    ASSERT_TRUE(BytesFromHex("00FF10ab", &bytes));
    EXPECT_EQ(std::string("\x00\xff\x10\xab", 4), bytes);
    EXPECT_FALSE(BytesFromHex("0", &bytes));
    EXPECT_FALSE(BytesFromHex("0g", &bytes));
    // RFC 4648's vectors.
    const char* const plain[] = {"", "f", "fo", "foo", "foob", "fooba", "foobar"};
    const char* const encoded[] = {"", "Zg==", "Zm8=", "Zm9v", "Zm9vYg==", "Zm9vYmE=", "Zm9vYmFy"};
    for (size_t i = 0; i < 7; i++)
    {
        EXPECT_EQ(encoded[i], Base64Encode(plain[i]));
        ASSERT_TRUE(Base64Decode(encoded[i], &bytes)) << encoded[i];
        EXPECT_EQ(plain[i], bytes);
    }
    EXPECT_EQ("+/8=", Base64Encode("\xfb\xff"));
    const char* const refused[] = {"Zg=", "Zh==", "Zm9=", "Z===", "Zg==Zg==", "Zm9v\n", "Zm-v", "=Zm9"};
    for (const char* pszText : refused)
        EXPECT_FALSE(Base64Decode(pszText, &bytes)) << pszText;
}

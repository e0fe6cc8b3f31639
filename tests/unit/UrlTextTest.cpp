#include <gtest/gtest.h>
#include <string>
#include "web/UrlText.h"

// NULL: refused, or not found.
TEST(UrlText, PercentDecoding)
{
    const struct
    {
        const char* pszText;
        bool bPlusIsSpace;
        const char* pszDecoded;
    } cases[] = {
        {"C%3A%5Cmusic%5cA+B", false, "C:\\music\\A+B"},
        {"a+b%2B", true, "a b+"},
        {"%C3%A9", false, "\xC3\xA9"},
        {"%4", false, NULL},
        {"ab%zz", false, NULL},
        {"%00", false, NULL},
        {"%+1", true, NULL},
    };
    for (const auto& c : cases)
    {
        std::string decoded = "untouched";
        EXPECT_EQ(c.pszDecoded != NULL, UrlDecode(c.pszText, c.bPlusIsSpace, &decoded))
            << c.pszText;
        EXPECT_EQ(c.pszDecoded ? c.pszDecoded : "untouched", decoded) << c.pszText;
    }
}

TEST(UrlText, FormValues)
{
    const char* const cases[][3] = {
        {"code=123456", "code", "123456"},
        {"a=1&path=C%3A%5Cx+y&path=2", "path", "C:\\x y"},
        {"a=1&&flag&b=2", "flag", ""},
        {"a=1", "b", NULL},
        {"ab=1", "a", NULL},
        {"a%3D=1&a=2", "a", "2"},
        {"a=%zz", "a", NULL},
    };
    for (const auto& c : cases)
    {
        std::string value = "untouched";
        EXPECT_EQ(c[2] != NULL, FormValue(c[0], c[1], &value)) << c[0];
        if (c[2])
            EXPECT_EQ(c[2], value) << c[0];
    }
    std::string many;
    for (int i = 0; i < 64; i++)
        many += "x=" + std::to_string(i) + "&";
    std::string value;
    EXPECT_FALSE(FormValue(many + "k=64", "k", &value)) << "the 65th pair is not looked at";
    EXPECT_TRUE(FormValue(many.substr(5) + "k=63", "k", &value));
}

TEST(UrlText, CookieValues)
{
    const char* const header = "theme=dark; quorvel=abc123;qv2 = \"q\" ; empty=";
    EXPECT_EQ("abc123", CookieValue(header, "quorvel"));
    EXPECT_EQ("dark", CookieValue(header, "theme"));
    EXPECT_EQ("q", CookieValue(header, "qv2"));
    EXPECT_EQ("", CookieValue(header, "empty"));
    EXPECT_EQ("", CookieValue(header, "Quorvel"));
    EXPECT_EQ("", CookieValue(header, "quorv"));
}

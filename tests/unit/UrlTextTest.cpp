#include <gtest/gtest.h>
#include <string>
#include "web/UrlText.h"

TEST(UrlText, PercentDecoding)
{
    const struct
    {
        const char* pszText;
        bool bPlusIsSpace;
        bool bOk;
        const char* pszDecoded;
    } cases[] = {
        {"C%3A%5Cmusic%5cA+B", false, true, "C:\\music\\A+B"},
        {"a+b%2B", true, true, "a b+"},
        {"%C3%A9", false, true, "\xC3\xA9"},
        {"%4", false, false, ""},
        {"ab%zz", false, false, ""},
        {"%00", false, false, ""},
        {"%+1", true, false, ""},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
    {
        std::string decoded = "untouched";
        EXPECT_EQ(cases[i].bOk, UrlDecode(cases[i].pszText, cases[i].bPlusIsSpace, &decoded))
            << cases[i].pszText;
        EXPECT_EQ(cases[i].bOk ? cases[i].pszDecoded : "untouched", decoded) << cases[i].pszText;
    }
}

TEST(UrlText, FormValues)
{
    const struct
    {
        const char* pszForm;
        const char* pszKey;
        bool bFound;
        const char* pszValue;
    } cases[] = {
        {"code=123456", "code", true, "123456"},
        {"a=1&path=C%3A%5Cx+y&path=2", "path", true, "C:\\x y"},
        {"a=1&&flag&b=2", "flag", true, ""},
        {"a=1", "b", false, ""},
        {"ab=1", "a", false, ""},
        {"a%3D=1&a=2", "a", true, "2"},
        {"a=%zz", "a", false, ""},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
    {
        std::string value;
        EXPECT_EQ(cases[i].bFound, FormValue(cases[i].pszForm, cases[i].pszKey, &value))
            << cases[i].pszForm;
        if (cases[i].bFound)
            EXPECT_EQ(cases[i].pszValue, value) << cases[i].pszForm;
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

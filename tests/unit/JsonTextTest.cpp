#include <gtest/gtest.h>
#include <string>
#include "web/JsonText.h"

TEST(JsonText, StringsAreAlwaysValidJson)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a\"b\\c/d", "\"a\\\"b\\\\c/d\""},
        {"\r\n\t\x01\x1f\x7f", "\"\\r\\n\\t\\u0001\\u001f\x7f\""},
        {"</script>", "\"\\u003c/script>\""},
        {"\xE2\x80\xA8\xE2\x80\xA9", "\"\\u2028\\u2029\""},
        {"caf\xC3\xA9 \xF0\x9F\x8E\xB5", "\"caf\xC3\xA9 \xF0\x9F\x8E\xB5\""},
        // Invalid UTF-8: one U+FFFD for each longest valid start.
        {"\xFF", "\"\xEF\xBF\xBD\""},
        {"a\xC3", "\"a\xEF\xBF\xBD\""},
        {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"\xE0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"\xF0\x9F\x8Ex", "\"\xEF\xBF\xBDx\""},
        {"\xF4\x90\x80\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
        EXPECT_EQ(cases[i].second, JsonString(cases[i].first)) << i;
    EXPECT_EQ("\"a\\u0000b\"", JsonString(std::string("a\0b", 3)));
}

TEST(JsonText, WesternNamesGoToUtf8AndBackUnchanged)
{
    EXPECT_EQ("\"\xE2\x82\xAC \xC3\xA9 \xC2\x81 \xC5\xB8 \\\"\"",
              JsonStringFromCp1252("\x80 \xE9 \x81 \x9F \""));
    for (int c = 0x20; c <= 0xFF; c++)
    {
        if (c == '"' || c == '\\' || c == '<')
            continue;
        std::string json = JsonStringFromCp1252(std::string(1, static_cast<char>(c)));
        std::string back;
        ASSERT_TRUE(Cp1252FromUtf8(json.substr(1, json.size() - 2), &back)) << c;
        EXPECT_EQ(std::string(1, static_cast<char>(c)), back) << c;
    }
}

TEST(JsonText, Utf8WithNoPlaceInTheWesternCodePageIsRefused)
{
    const std::string refused[] = {"\xE6\x97\xA5", "\xC2\x80", "a\xC3", "\xED\xA0\x80",
                                   std::string("a\0b", 3)};
    for (const std::string& text : refused)
    {
        std::string out = "untouched";
        EXPECT_FALSE(Cp1252FromUtf8(text, &out)) << text;
        EXPECT_EQ("untouched", out);
    }
}

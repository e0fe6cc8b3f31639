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

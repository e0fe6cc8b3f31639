#include <gtest/gtest.h>
#include <string>
#include "core/LogText.h"

TEST(LogText, ControlCharactersEscapedAndLongTextCut)
{
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Music\\caf\xE9.mp3", "C:\\Music\\caf\xE9.mp3"},
        {"a\nWeb remote: paired\r\x7F\t", "a\\x0AWeb remote: paired\\x0D\\x7F\\x09"},
        {std::string("a\0b", 3), "a\\x00b"},
        {std::string(LOG_TEXT_MAX, 'x'), std::string(LOG_TEXT_MAX, 'x')},
        {std::string(LOG_TEXT_MAX + 1, 'x'), std::string(LOG_TEXT_MAX, 'x') + "..."},
        {std::string(LOG_TEXT_MAX - 2, 'x') + "\n", std::string(LOG_TEXT_MAX - 2, 'x') + "..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, LogSafeText(c.first)) << c.first;
}

// A phone's names are never cut, and come back byte for byte without control characters.
TEST(LogText, NamesAreEscapedButNeverCut)
{
    const std::string longName = "Z:\\" + std::string(400, 'x') + ".mp3";
    const std::pair<const char*, std::string> cases[] = {
        {"Z:\\Music\\caf\xE9 \x80\xFF.mp3", "Z:\\Music\\caf\xE9 \x80\xFF.mp3"},
        {"a\r\nPlaying \"b\"", "a\\x0D\\x0APlaying \"b\""},
        {"\x1B[2J\x7F", "\\x1B[2J\\x7F"},
        {"", ""},
        {NULL, ""},
        {longName.c_str(), longName},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, LogSafeName(c.first)) << c.second;
}

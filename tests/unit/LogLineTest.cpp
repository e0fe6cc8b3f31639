#include <gtest/gtest.h>
#include <string>
#include "core/LogLine.h"

static std::string Format(size_t nSize, const char* pszFormat, ...)
{
    std::string buffer(nSize, 'X');
    va_list args;
    va_start(args, pszFormat);
    FormatLogMessage(&buffer[0], nSize, pszFormat, args);
    va_end(args);
    return std::string(buffer.c_str());
}

TEST(LogLine, FormatsLikePrintf)
{
    EXPECT_EQ("Set volume to 50%\r\n", Format(LOG_LINE_SIZE, "Set volume to %d%%\r\n", 50));
    EXPECT_EQ("Bind failed with -1", Format(LOG_LINE_SIZE, "Bind failed with %d", -1));
}

TEST(LogLine, ALongLineIsCutButStillEndsTheLine)
{
    std::string name(1500, 'a');
    std::string line = Format(LOG_LINE_SIZE, "Playing \"%s\"\r\n", name.c_str());
    ASSERT_EQ(LOG_LINE_SIZE - 1, line.size());
    EXPECT_EQ("Playing \"aaa", line.substr(0, 12));
    EXPECT_EQ("\r\n", line.substr(line.size() - 2));
}

TEST(LogLine, ALongOpenLineStaysOpen)
{
    std::string name(1500, 'b');
    std::string line = Format(LOG_LINE_SIZE, "Uploading \"%s\"... ", name.c_str());
    ASSERT_EQ(LOG_LINE_SIZE - 1, line.size());
    EXPECT_EQ('b', line[line.size() - 1]);
}

TEST(LogLine, NeverWritesPastTheBuffer)
{
    std::string line = Format(8, "%s\r\n", "0123456789");
    EXPECT_EQ("01234\r\n", line);
}

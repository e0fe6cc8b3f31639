#include <gtest/gtest.h>
#include <string>
#include "players/CommandLines.h"

TEST(CommandLines, PlayAndAddQuoteThePaths)
{
    char line[COMMAND_LINE_SIZE];
    EXPECT_EQ(COMMAND_LINE_OK, BuildPlayCommandLine("C:\\music\\a b.mp3", line, sizeof(line)));
    EXPECT_STREQ("/play \"C:\\music\\a b.mp3\"", line);
    EXPECT_EQ(COMMAND_LINE_OK,
              BuildAddCommandLine("C:\\Winamp3\\studio.exe", "C:\\a.mp3", line, sizeof(line)));
    EXPECT_STREQ("\"C:\\Winamp3\\studio.exe\" /add \"C:\\a.mp3\"", line);
}

TEST(CommandLines, APathThatDoesNotFitIsRefusedWhole)
{
    char line[COMMAND_LINE_SIZE];
    // 8 characters of fixed text around the path, and the terminating zero.
    std::string path(COMMAND_LINE_SIZE - 9, 'p');
    EXPECT_EQ(COMMAND_LINE_OK, BuildPlayCommandLine(path.c_str(), line, sizeof(line)));
    EXPECT_EQ(COMMAND_LINE_SIZE - 1, std::string(line).size());
    path += 'p';
    EXPECT_EQ(COMMAND_LINE_TOO_LONG, BuildPlayCommandLine(path.c_str(), line, sizeof(line)));
    EXPECT_STREQ("", line);

    // 10 characters of fixed text around the two paths.
    std::string exe(100, 'e');
    std::string file(COMMAND_LINE_SIZE - 1 - 10 - exe.size(), 'f');
    EXPECT_EQ(COMMAND_LINE_OK, BuildAddCommandLine(exe.c_str(), file.c_str(), line, sizeof(line)));
    file += 'f';
    EXPECT_EQ(COMMAND_LINE_TOO_LONG,
              BuildAddCommandLine(exe.c_str(), file.c_str(), line, sizeof(line)));
    EXPECT_STREQ("", line);
}

TEST(CommandLines, APathWithAQuoteIsRefused)
{
    char line[COMMAND_LINE_SIZE];
    EXPECT_EQ(COMMAND_LINE_QUOTE_IN_PATH,
              BuildPlayCommandLine("a.mp3\" /evil \"b.mp3", line, sizeof(line)));
    EXPECT_STREQ("", line);
    EXPECT_EQ(COMMAND_LINE_QUOTE_IN_PATH,
              BuildAddCommandLine("C:\\w.exe", "\"", line, sizeof(line)));
    EXPECT_STREQ("", line);
}

TEST(CommandLines, AnApplicationPathIsKeptWholeOrNotAtAll)
{
    char path[APP_PATH_SIZE] = "old";
    std::string longest(APP_PATH_SIZE - 1, 'x');
    EXPECT_TRUE(KeepApplicationPath(longest.c_str(), path, sizeof(path)));
    EXPECT_EQ(longest, path);
    EXPECT_FALSE(KeepApplicationPath((longest + "x").c_str(), path, sizeof(path)));
    EXPECT_STREQ("", path);
    EXPECT_TRUE(KeepApplicationPath("", path, sizeof(path)));
    EXPECT_STREQ("", path);
}

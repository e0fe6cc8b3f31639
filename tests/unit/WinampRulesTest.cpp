#include <gtest/gtest.h>
#include <limits.h>
#include <string>
#include "players/WinampRules.h"

static std::string Title(const char* pszCaption)
{
    char caption[256];
    snprintf(caption, sizeof(caption), "%s", pszCaption);
    CutWinampTitle(caption);
    return caption;
}

TEST(WinampRules, TitleIsTheCaptionUpToTheFirstSuffix)
{
    EXPECT_EQ("12. Artist - Title", Title("12. Artist - Title - Winamp"));
    EXPECT_EQ("Song", Title("Song - Winamp - Winamp"));
    EXPECT_EQ("Winamp 2.95", Title("Winamp 2.95"));
    EXPECT_EQ("", Title(" - Winamp"));
    EXPECT_EQ("Song -Winamp", Title("Song -Winamp"));
}

TEST(WinampRules, SeekMillisecondsStayInTheSigned32BitRange)
{
    const int cases[][2] = {{0, 0},
                            {1, 1000},
                            {300, 300000},
                            {-1, 0},
                            {INT_MIN, 0},
                            {2147483, 2147483000},
                            {2147484, 2147483000},
                            {4294968, 2147483000},
                            {INT_MAX, 2147483000}};
    for (const auto& c : cases)
        EXPECT_EQ(c[1], WinampSeekMilliseconds(c[0])) << c[0];
}

TEST(WinampRules, NewerVersionsReportMicroseconds)
{
    EXPECT_EQ(180, WinampTrackLengthSeconds(180, 0x2095));
    EXPECT_EQ(-1, WinampTrackLengthSeconds(-1, 0x2FFF));
    EXPECT_EQ(180, WinampTrackLengthSeconds(180000000, 0x3000));
    EXPECT_EQ(0, WinampTrackLengthSeconds(-1, 0x3000)) << "truncates toward zero";
    EXPECT_EQ(1, WinampTrackLengthSeconds(1999999, 0x5000));
}

TEST(WinampRules, PlaylistFileSitsBesideTheApplication)
{
    char path[260];
    ASSERT_TRUE(
        BuildWinampPlaylistPath("C:\\Program Files\\Winamp\\winamp.exe", path, sizeof(path)));
    EXPECT_STREQ("C:\\Program Files\\Winamp\\Winamp.m3u", path);
    EXPECT_FALSE(BuildWinampPlaylistPath("winamp.exe", path, sizeof(path)));
    EXPECT_STREQ("", path);
    EXPECT_FALSE(BuildWinampPlaylistPath("", path, sizeof(path)));
}

TEST(WinampRules, APlaylistPathThatDoesNotFitIsRefused)
{
    std::string exe = "C:\\" + std::string(250, 'w') + "\\winamp.exe";
    char path[260];
    EXPECT_FALSE(BuildWinampPlaylistPath(exe.c_str(), path, sizeof(path)));
    EXPECT_STREQ("", path);
}

#include <gtest/gtest.h>
#include "players/PathNotice.h"

TEST(PathNotice, SaysOncePerPathAndAgainAfterAnotherPath)
{
    // The path of each command, and whether its refusal is said ('-': nothing refused).
    const char* const paths[] = {"C:\\a.exe", "C:\\a.exe", "C:\\b.exe", "C:\\a.exe",
                                 "C:\\a.exe", "C:\\A.exe", "C:\\A.exe"};
    const char said[] = "YN-YNYN";
    CPathNotice notice;
    for (size_t i = 0; i < sizeof(paths) / sizeof(paths[0]); i++)
    {
        notice.Use(paths[i]);
        if (said[i] != '-')
            EXPECT_EQ(said[i] == 'Y', notice.ShouldSay()) << i;
    }
}

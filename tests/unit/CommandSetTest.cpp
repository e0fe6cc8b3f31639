#include <gtest/gtest.h>
#include <string.h>
#include "core/CommandSet.h"

TEST(CommandSet, HasThirtyOneDistinctCommands)
{
    ASSERT_EQ(31, CMD_COUNT);
    for (int i = 0; i < CMD_COUNT; i++)
    {
        ASSERT_EQ(4u, strlen(CommandName(i)));
        EXPECT_EQ(i, FindCommand(CommandName(i))) << CommandName(i);
    }
}

TEST(CommandSet, MatchesCaseSensitivelyAndByteExact)
{
    EXPECT_EQ(CMD_PLAY, FindCommand("PLAY"));
    EXPECT_EQ(CMD_UNKNOWN, FindCommand("play"));
    EXPECT_EQ(CMD_UNKNOWN, FindCommand("Play"));
    const char zeros[4] = {0, 0, 0, 0};
    EXPECT_EQ(CMD_UNKNOWN, FindCommand(zeros));
    const char embeddedZero[4] = {'P', 'L', 0, 'Y'};
    EXPECT_EQ(CMD_UNKNOWN, FindCommand(embeddedZero));
}

TEST(CommandSet, KeepsTheTableOrder)
{
    EXPECT_EQ(0, FindCommand("CHCK"));
    EXPECT_EQ(5, FindCommand("PLAY"));
    EXPECT_EQ(25, FindCommand("SHUT"));
    EXPECT_EQ(29, FindCommand("VERS"));
    EXPECT_EQ(30, FindCommand("EXIT"));
}

TEST(CommandSet, OnlyPlayCheckAndVersionSkipStartingTheApplication)
{
    EXPECT_FALSE(NeedsEnsureRunning("PLAY"));
    EXPECT_FALSE(NeedsEnsureRunning("CHCK"));
    EXPECT_FALSE(NeedsEnsureRunning("VERS"));
    EXPECT_TRUE(NeedsEnsureRunning("LADD"));
    EXPECT_TRUE(NeedsEnsureRunning("STOP"));
    EXPECT_TRUE(NeedsEnsureRunning("EXIT"));
    EXPECT_TRUE(NeedsEnsureRunning("play")) << "unknown commands get it too";
}

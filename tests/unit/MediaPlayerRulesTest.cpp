#include <gtest/gtest.h>
#include "players/MediaPlayerRules.h"

TEST(MediaPlayerRules, PlayPauseFlipsBetweenPlayingAndPaused)
{
    EXPECT_EQ(1, MediaPlayerStateAfterPlayPause(0));
    EXPECT_EQ(3, MediaPlayerStateAfterPlayPause(1));
    EXPECT_EQ(1, MediaPlayerStateAfterPlayPause(3));
}

TEST(MediaPlayerRules, VolumeStepsByTwentyFiveOutsideTheBand)
{
    struct Case
    {
        int nEstimate, nTarget, nStep, nAfter;
    } cases[] = {
        {128, 130, 0, 128}, {128, 150, 0, 128}, {128, 125, 0, 128}, {128, 255, 1, 153},
        {153, 255, 1, 178}, {228, 255, 1, 253}, {253, 255, 0, 253}, {128, 124, -1, 103},
        {20, 0, 0, 20},     {25, 0, -1, 0},     {10, 0, 0, 10},     {240, 250, 0, 240},
        {230, 251, 1, 255},
    };
    for (const Case& c : cases)
    {
        int nEstimate = c.nEstimate;
        EXPECT_EQ(c.nStep, StepMediaPlayerVolume(&nEstimate, c.nTarget))
            << c.nEstimate << " toward " << c.nTarget;
        EXPECT_EQ(c.nAfter, nEstimate) << c.nEstimate << " toward " << c.nTarget;
    }
}

#include <gtest/gtest.h>
#include <string>
#include "players/Winamp3Rules.h"

struct CaptionCase
{
    const char* pszCaption;
    int nTrackedState, nElapsed;
    int nState, nLength, nPosition;
    bool bHasTime;
    const char* pszTitle;
};

TEST(Winamp3Rules, CaptionsGiveStateTimeAndTitle)
{
    const CaptionCase cases[] = {
        {"Artist - Song (3:45) (playing)", 0, 0, 1, 225, 0, true, "Artist - Song "},
        {"Artist - Song (3:45) (playing)", 1, 224, 1, 225, 224, true, "Artist - Song "},
        {"Artist - Song (3:45) (playing)", 1, 225, 1, 225, -1, true, "Artist - Song "},
        {"Song (playing)", 0, 5, 1, -1, -1, false, "Song "},
        {"Song (Remix) (paused)", 1, 0, 3, 0, -1, true, "Song "},
        {"Song (stopped)", 1, 0, 0, -1, -1, false, "Song "},
        {"Song (Live)", 3, 0, 3, -1, -1, false, "Song "},
        {"Song (Playing)", 0, 0, 0, -1, -1, false, "Song "},
        {"A caption without brackets", 3, 0, 3, -1, -1, false, ""},
        {"Song (playing) ", 1, 0, 1, -1, -1, false, ""},
        {"(3:45) (playing)", 0, 7, 1, 225, 7, true, ""},
        {"Song(3:45) (playing)", 0, 0, 1, 225, 0, true, ""},
        {"Song) (playing)", 3, 0, 1, -1, -1, false, ""},
        {"playing)", 0, 0, 0, -1, -1, false, ""},
        {")", 1, 0, 1, -1, -1, false, ""},
        {"", 3, 0, 3, -1, -1, false, ""},
        {"() ()", 1, 0, 1, 0, -1, true, ""},
        {"Song (x:30) (playing)", 0, 0, 1, 0, -1, true, "Song "},
        {"Song (:30) (playing)", 0, 0, 1, 0, -1, true, "Song "},
        {"Song (12) (playing)", 0, 0, 1, 720, 0, true, "Song "},
        {"Song (1:2:3) (paused)", 0, 0, 3, 62, 0, true, "Song "},
        {"Song ( 2: 05) (playing)", 0, 0, 1, 125, 0, true, "Song "},
        {"Song (-1:00) (playing)", 0, 0, 1, -60, -1, true, "Song "},
        {"Song (99999999999:99999999999) (playing)", 0, 0, 1, 2147483647, 0, true, "Song "},
        {"Song (-99999999999:0) (playing)", 0, 0, 1, -2147483647 - 1, -1, true, "Song "},
    };
    for (const CaptionCase& c : cases)
    {
        char title[256];
        Winamp3CaptionStatus status =
            ParseWinamp3Caption(c.pszCaption, static_cast<PlayState>(c.nTrackedState), c.nElapsed,
                                title, sizeof(title));
        EXPECT_EQ(c.nState, status.nState) << c.pszCaption;
        EXPECT_EQ(c.nLength, status.nLength) << c.pszCaption;
        EXPECT_EQ(c.nPosition, status.nPosition) << c.pszCaption;
        EXPECT_EQ(c.bHasTime, status.bHasTime) << c.pszCaption;
        EXPECT_STREQ(c.pszTitle, title) << c.pszCaption;
    }
}

TEST(Winamp3Rules, TheTitleStaysWithinItsBuffer)
{
    std::string caption = std::string(254, 'x') + " (playing)";
    char title[256];
    ParseWinamp3Caption(caption.c_str(), 0, 0, title, sizeof(title));
    EXPECT_EQ(std::string(254, 'x') + " ", title);

    char small[6] = "ZZZZZ";
    ParseWinamp3Caption("Artist - Song (playing)", 0, 0, small, sizeof(small));
    EXPECT_STREQ("Artis", small);
    char none = 'Z';
    ParseWinamp3Caption("Song (playing)", 0, 0, &none, 0);
    EXPECT_EQ('Z', none);
}

TEST(Winamp3Rules, VolumeFirstRecordsThenStepsByTen)
{
    int nEstimate = -1;
    EXPECT_EQ(0, StepWinamp3Volume(&nEstimate, 200));
    EXPECT_EQ(200, nEstimate);
    EXPECT_EQ(-1, StepWinamp3Volume(&nEstimate, 0));
    EXPECT_EQ(190, nEstimate);
    EXPECT_EQ(1, StepWinamp3Volume(&nEstimate, 195));
    EXPECT_EQ(200, nEstimate);
    EXPECT_EQ(0, StepWinamp3Volume(&nEstimate, 200));

    nEstimate = 5;
    EXPECT_EQ(-1, StepWinamp3Volume(&nEstimate, 0));
    EXPECT_EQ(0, nEstimate) << "never below 0";
    nEstimate = 250;
    EXPECT_EQ(1, StepWinamp3Volume(&nEstimate, 255));
    EXPECT_EQ(255, nEstimate) << "never above 255";
    EXPECT_EQ(0, StepWinamp3Volume(&nEstimate, 255));
}

TEST(Winamp3Rules, PlayAndPauseFollowTheStateTable)
{
    const PlayState states[] = {0, 1, 3};
    const PlayState afterPlay[] = {1, 3, 1};
    const bool restarts[] = {true, false, true};
    const PlayState afterPause[] = {1, 3, 1};
    for (int i = 0; i < 3; i++)
    {
        bool bRestart = !restarts[i];
        EXPECT_EQ(afterPlay[i], Winamp3StateAfterPlay(states[i], &bRestart)) << int(states[i]);
        EXPECT_EQ(restarts[i], bRestart) << int(states[i]);
        EXPECT_EQ(afterPause[i], Winamp3StateAfterPause(states[i])) << int(states[i]);
    }
}

TEST(Winamp3Rules, TicksCountOnlyWhilePlayingAndBelowTheLength)
{
    EXPECT_TRUE(Winamp3TickCounts(1, 224, 225));
    EXPECT_FALSE(Winamp3TickCounts(1, 225, 225));
    EXPECT_FALSE(Winamp3TickCounts(1, 0, 0)) << "no length read yet";
    EXPECT_FALSE(Winamp3TickCounts(3, 10, 225));
    EXPECT_FALSE(Winamp3TickCounts(0, 10, 225));
}

#include <gtest/gtest.h>
#include "core/FolderTrail.h"

// Enter and leave in walk order; a folder already on the trail (same volume and
// ID, whatever name led there) is refused, one on another volume or left before is not.
TEST(FolderTrail, AFolderOnTheTrailIsNotEnteredAgain)
{
    const FolderIdentity music = {7, 100}, jazz = {7, 101}, sameIdElsewhere = {8, 100};
    const FolderIdentity bigId = {7, 0x100000064ull}; // 100 in the low half only
    CFolderTrail trail;
    const struct
    {
        const FolderIdentity* pFolder;
        bool bLeave; // leave the last one entered instead
        bool bEntered;
    } steps[] = {{&music, false, true},  {&jazz, false, true},  {&music, false, false},
                 {&jazz, false, false},  {&sameIdElsewhere, false, true},
                 {&bigId, false, true},  {&bigId, false, false}, {NULL, true, true},
                 {NULL, true, true},     {NULL, true, true},     {&jazz, false, true},
                 {&music, false, false}, {NULL, true, true},     {NULL, true, true},
                 {&music, false, true}};
    int nStep = 0;
    for (const auto& step : steps)
    {
        if (step.bLeave)
            trail.Leave();
        else
            EXPECT_EQ(step.bEntered, trail.Enter(*step.pFolder)) << "step " << nStep;
        nStep++;
    }
}

#include <gtest/gtest.h>
#include <ctype.h>
#include <map>
#include "core/FolderTrail.h"

// A folder already on the trail (same volume and ID, whatever name led there) is
// refused; one with the same ID on another volume, or left before, is not.
TEST(FolderTrail, AFolderOnTheTrailIsNotEnteredAgain)
{
    const std::map<char, FolderIdentity> folders = {
        {'m', {7, 100}}, {'j', {7, 101}}, {'o', {8, 100}}, {'b', {7, 0x100000064ull}}};
    // Each letter enters its folder: lower case when it must be entered, upper case
    // when it must be refused; "-" leaves the folder entered last.
    const std::string walk = "mjMJobB---jM--m";
    CFolderTrail trail;
    for (size_t i = 0; i < walk.size(); i++)
    {
        if (walk[i] == '-')
            trail.Leave();
        else
            EXPECT_EQ(islower(walk[i]) != 0, trail.Enter(folders.at(tolower(walk[i])))) << i;
    }
}

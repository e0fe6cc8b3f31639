#include <gtest/gtest.h>
#include <string>
#include "app/SettingsRules.h"

TEST(SettingsRules, NumbersParseLikePercentD)
{
    EXPECT_EQ(1, ParseSettingNumber("1"));
    EXPECT_EQ(0, ParseSettingNumber("0"));
    EXPECT_EQ(12, ParseSettingNumber("12abc"));
    EXPECT_EQ(7, ParseSettingNumber("  7"));
    EXPECT_EQ(-3, ParseSettingNumber("-3"));
    EXPECT_EQ(0, ParseSettingNumber("yes"));
    EXPECT_EQ(0, ParseSettingNumber(""));
}

TEST(SettingsRules, DefaultApplicationNeverLeavesTheFiveKinds)
{
    for (int kind = 0; kind < 5; kind++)
        EXPECT_EQ(kind, ClampAppKind(kind));
    EXPECT_EQ(0, ClampAppKind(5));
    EXPECT_EQ(0, ClampAppKind(-1));
    EXPECT_EQ(0, ClampAppKind(1000000));
}

TEST(SettingsRules, OneTrailingBackslashIsRemoved)
{
    char path[32] = "D:\\Music\\";
    RemoveTrailingBackslash(path);
    EXPECT_STREQ("D:\\Music", path);
    char list[32] = "D:\\Music;E:\\Mp3\\";
    RemoveTrailingBackslash(list);
    EXPECT_STREQ("D:\\Music;E:\\Mp3", list);
    char twice[32] = "C:\\\\";
    RemoveTrailingBackslash(twice);
    EXPECT_STREQ("C:\\", twice);
    char empty[4] = "";
    RemoveTrailingBackslash(empty);
    EXPECT_STREQ("", empty);
}

TEST(SettingsRules, DefaultExtensionsByKind)
{
    EXPECT_STREQ("mp3;mp2;wav;wma", DefaultExtensions(0));
    EXPECT_STREQ("", DefaultExtensions(1));
    EXPECT_STREQ("", DefaultExtensions(2));
    EXPECT_STREQ("ppt", DefaultExtensions(3));
    EXPECT_STREQ("", DefaultExtensions(4));
}

TEST(SettingsRules, SettingsFilePathIsBounded)
{
    char path[260];
    ASSERT_TRUE(BuildSettingsFilePath("C:\\work", path, sizeof(path)));
    EXPECT_STREQ("C:\\work\\QuorvelServer.ini", path);

    std::string longDir = "C:\\" + std::string(250, 'd');
    EXPECT_FALSE(BuildSettingsFilePath(longDir.c_str(), path, sizeof(path)));
    EXPECT_STREQ("", path);
}

#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include "core/SettingsRules.h"

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

TEST(SettingsRules, DefaultApplicationNeverLeavesTheKinds)
{
    for (int kind = 0; kind < 6; kind++)
        EXPECT_EQ(kind, ClampAppKind(kind));
    EXPECT_EQ(0, ClampAppKind(6));
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
    EXPECT_STREQ("", DefaultExtensions(5)) << "a file without it must not hand it any type";
}

TEST(SettingsRules, FirstRunExtensionsByKind)
{
    // Winamp 3 chosen: it gets the media list, PowerPoint Viewer its own, the rest nothing.
    const char* const chosenWinamp3[5] = {"", "mp3;mp2;wav;wma", "", "ppt;pps", ""};
    for (int kind = 0; kind < 5; kind++)
        EXPECT_STREQ(chosenWinamp3[kind], FirstRunExtensions(kind, 1)) << kind;
    // PowerPoint only: the viewer takes the media list, as the wizard writes it.
    EXPECT_STREQ("mp3;mp2;wav;wma", FirstRunExtensions(3, 3));
    EXPECT_STREQ("", FirstRunExtensions(0, 3));
}

TEST(SettingsRules, SettingsFilePathIsBounded)
{
    char path[260];
    ASSERT_TRUE(BuildSettingsFilePath("C:\\work", path, sizeof(path)));
    EXPECT_STREQ("C:\\work\\QuorvelServer.ini", path);

    std::string longDir = "C:\\" + std::string(250, 'd');
    EXPECT_FALSE(BuildSettingsFilePath(longDir.c_str(), path, sizeof(path)));
    EXPECT_STREQ("", path);

    std::string justFits = "C:\\" + std::string(259 - 3 - 18, 'd');
    ASSERT_TRUE(BuildSettingsFilePath(justFits.c_str(), path, sizeof(path)));
    EXPECT_EQ(259u, std::string(path).size());
    std::string oneMore = justFits + "d";
    EXPECT_FALSE(BuildSettingsFilePath(oneMore.c_str(), path, sizeof(path)));

    // An unknown working directory must not turn into the root of the current drive.
    EXPECT_FALSE(BuildSettingsFilePath("", path, sizeof(path)));
    EXPECT_STREQ("", path);
}

TEST(SettingsRules, FoldersAreAppendedWithinTheList)
{
    char list[260] = "";
    ASSERT_TRUE(AppendFolderToList(list, sizeof(list), "D:\\Music"));
    EXPECT_STREQ("D:\\Music", list);
    ASSERT_TRUE(AppendFolderToList(list, sizeof(list), "E:\\Mp3"));
    EXPECT_STREQ("D:\\Music;E:\\Mp3", list);

    // 259 characters fit the 260 bytes; one more is refused and changes nothing.
    std::string full(250, 'a');
    snprintf(list, sizeof(list), "%s", full.c_str());
    std::string eight(8, 'b');
    ASSERT_TRUE(AppendFolderToList(list, sizeof(list), eight.c_str()));
    EXPECT_EQ(259u, std::string(list).size());
    snprintf(list, sizeof(list), "%s", full.c_str());
    std::string nine(9, 'b');
    EXPECT_FALSE(AppendFolderToList(list, sizeof(list), nine.c_str()));
    EXPECT_EQ(full, list);

    char empty[8] = "";
    EXPECT_FALSE(AppendFolderToList(empty, sizeof(empty), "C:\\Long1"));
    EXPECT_STREQ("", empty);
}

#include <gtest/gtest.h>
#include <string>
#include "web/BrowsePaths.h"

TEST(BrowsePaths, PathsInsideTheFoldersAreNormalised)
{
    const char* const folders = "D:\\Music;  E:/Mp3/ ;\\\\nas\\media\\Songs;relative;C:\\";
    const struct
    {
        const char* pszPath;
        const char* pszNormalised;
    } cases[] = {
        {"D:\\Music", "D:\\Music"},
        {"d:/music/", "D:\\Music"},
        {"D:\\MUSIC\\\\Rock//a.mp3", "D:\\Music\\Rock\\a.mp3"},
        {"E:\\Mp3\\x y.mp3", "E:\\Mp3\\x y.mp3"},
        {"//NAS/Media/songs/a.mp3", "\\\\nas\\media\\Songs\\a.mp3"},
        {"C:\\Windows\\win.ini", "C:\\Windows\\win.ini"},
        {"c:\\", "C:\\"},
        {"D:\\Music\\caf\xE9\\.hidden\\a..b", "D:\\Music\\caf\xE9\\.hidden\\a..b"},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
    {
        std::string normalised;
        EXPECT_TRUE(IsInsideBrowseFolders(cases[i].pszPath, folders, &normalised))
            << cases[i].pszPath;
        EXPECT_EQ(cases[i].pszNormalised, normalised) << cases[i].pszPath;
    }
}

TEST(BrowsePaths, EverythingElseIsRefused)
{
    const char* const folders = "D:\\Music;\\\\nas\\media";
    const std::string refused[] = {
        "",
        "D:\\Music2\\a.mp3",
        "D:\\Musi",
        "E:\\Music\\a.mp3",
        "Music\\a.mp3",
        "\\Music\\a.mp3",
        "D:Music\\a.mp3",
        "D:",
        "D:\\Music\\..\\secret.txt",
        "D:\\Music\\.\\a.mp3",
        "D:/Music/../../x",
        "D:\\Music\\...\\x",
        "D:\\Music\\.. \\x",
        "D:\\Music\\a.mp3.",
        "D:\\Music\\nul",
        "D:\\Music\\COM1.mp3",
        "D:\\Music\\CON .txt",
        "\\\\?\\D:\\Music\\a.mp3",
        "\\\\.\\D:\\Music\\a.mp3",
        "//./D:/Music",
        "\\\\nas\\pipe\\x",
        "\\\\\\nas\\media\\a.mp3",
        "\\\\nas",
        "\\\\nas\\mediax\\a",
        "D:\\Music\\a.mp3:secret",
        "D:\\Music\\a.mp3::$DATA",
        "D:\\Music\\a*.mp3",
        "D:\\Music\\a?.mp3",
        "D:\\Music\\a\tb.mp3",
        "D:\\Music\\a<b",
        std::string("D:\\Music\\a\0b", 12),
        "D:\\Music\\" + std::string(1015, 'x'),
        "1:\\Music\\a.mp3",
    };
    for (const std::string& path : refused)
    {
        std::string normalised = "untouched";
        EXPECT_FALSE(IsInsideBrowseFolders(path, folders, &normalised)) << path;
        EXPECT_EQ("untouched", normalised) << path;
    }
    std::string normalised;
    EXPECT_TRUE(IsInsideBrowseFolders("D:\\Music\\" + std::string(1014, 'x'), folders, &normalised))
        << "1023 bytes are allowed";
    EXPECT_FALSE(IsInsideBrowseFolders("D:\\Music\\a.mp3", "", &normalised));
    EXPECT_FALSE(IsInsideBrowseFolders("D:\\Music\\a.mp3", "D:\\Music\\..\\", &normalised));
}

#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "core/BrowsePaths.h"

TEST(BrowsePaths, PathsInsideTheFoldersAreNormalised)
{
    const char* const folders = "D:\\Music;  E:/Mp3/ ;\\\\nas\\media\\Songs;relative;C:\\";
    const std::pair<const char*, const char*> cases[] = {
        {"D:\\Music", "D:\\Music"},
        {"d:/music/", "D:\\Music"},
        {"D:\\MUSIC\\\\Rock//a.mp3", "D:\\Music\\Rock\\a.mp3"},
        {"E:\\Mp3\\x y.mp3", "E:\\Mp3\\x y.mp3"},
        {"//NAS/Media/songs/a.mp3", "\\\\nas\\media\\Songs\\a.mp3"},
        {"C:\\Windows\\win.ini", "C:\\Windows\\win.ini"},
        {"c:\\", "C:\\"},
        {"D:\\Music\\caf\xE9\\.hidden\\a..b", "D:\\Music\\caf\xE9\\.hidden\\a..b"},
    };
    for (const auto& c : cases)
    {
        std::string normalised;
        EXPECT_TRUE(IsInsideBrowseFolders(c.first, folders, &normalised)) << c.first;
        EXPECT_EQ(c.second, normalised) << c.first;
    }
}

TEST(BrowsePaths, EverythingElseIsRefused)
{
    const char* const folders = "D:\\Music;\\\\nas\\media";
    // Groups of refused paths, '|' between them (no path here holds one).
    const char* const groups[] = {
        "|D:\\Music2\\a.mp3|E:\\Music\\a.mp3|\\\\nas\\mediax\\a|\\\\nas", // elsewhere
        "Music\\a.mp3|\\Music\\a.mp3|D:Music\\a.mp3|D:|1:\\Music\\a.mp3", // not absolute
        "D:\\Music\\..\\x|D:\\Music\\.\\a|D:\\Music\\...\\x|D:\\Music\\.. \\x|D:\\Music\\a.",
        "D:\\Music\\nul|D:\\Music\\CON .txt|\\\\nas\\pipe\\x|\\\\\\nas\\media\\a", // devices
        "\\\\?\\D:\\Music\\a.mp3|\\\\.\\D:\\Music\\a.mp3",                         // namespaces
        "D:\\Music\\a.mp3:secret|D:\\Music\\a*.mp3|D:\\Music\\a\tb.mp3", // streams, characters
    };
    std::vector<std::string> paths(1, std::string("D:\\Music\\a\0b", 12));
    paths.push_back("D:\\Music\\" + std::string(1015, 'x'));
    for (size_t i = 0; i < sizeof(groups) / sizeof(groups[0]); i++)
    {
        std::string group = groups[i];
        for (size_t nStart = 0, nEnd = 0; nEnd != std::string::npos; nStart = nEnd + 1)
        {
            nEnd = group.find('|', nStart);
            paths.push_back(group.substr(nStart, nEnd == std::string::npos ? nEnd : nEnd - nStart));
        }
    }
    for (const std::string& path : paths)
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

#include <gtest/gtest.h>
#include "core/NameRules.h"
#include "players/MediaKeysRules.h"

TEST(MediaKeysRules, OnlyWholePathsToFilesOfTheKindsMediaTypesAreOpened)
{
    const char* const media[] = {"C:\\Music\\song.mp3", "c:/Music/Song.MP3", "\\\\srv\\s\\a.m3u8"};
    const char* const refused[][5] = {
        {"C:\\run.exe", "C:\\song.mp3.lnk", "C:\\Music\\setup", "C:\\a.", "C:\\Music\\"},
        {"cmd", "song.mp3", "C:song.mp3", "\\Music\\song.mp3", "\\\\srv\\share"},
        {"\\\\srv\\\\s\\a.mp3", "\\\\.\\C:\\a.mp3", "\\\\?\\UNC\\srv\\s\\a.mp3", "C:\\*.mp3", ""},
        {"\"C:\\x\\a.exe\"", "C:\\x\\\"a.mp3", "file:///C:/a.mp3", "shell:M\\a.mp3", "ms-x:a.mp3"},
        {"C:\\a.mp3:x", "C:\\a.mp3:x.mp3", "C:\\a.mp3.", "C:\\a.mp3 ", "C:\\a\tb.mp3"}};
    for (const char* pszPath : media)
        EXPECT_TRUE(IsMediaFileName(pszPath, "")) << pszPath;
    for (const auto& row : refused)
    {
        for (const char* pszPath : row)
            EXPECT_FALSE(IsMediaFileName(pszPath, "")) << pszPath;
    }
    // The kind's own list replaces the built-in one.
    EXPECT_TRUE(IsMediaFileName("C:\\a.b\\clip.mkq", " .MKQ ;mkr"));
    EXPECT_FALSE(IsMediaFileName("C:\\x.wpl", "mkq;mkr"));
    EXPECT_FALSE(IsMediaFileName("C:\\a.mp", "mp3"));
}

#include <gtest/gtest.h>
#include "players/MediaKeysRules.h"

TEST(MediaKeysRules, OnlyWholePathsToFilesOfAMediaTypeAreOpened)
{
    struct Case
    {
        const char* pszPath;
        const char* pszTypes;
        bool bMedia;
    };
    const Case cases[] = {
        {"C:\\Music\\song.mp3", "", true},
        {"c:/Music/Song.MP3", "", true},
        {"\\\\server\\share\\a.m3u8", "", true},
        {"C:\\a.b\\clip.mkq", " .MKQ ;mkr", true},
        {"C:\\x.wpl", "mkq;mkr", false},
        {"C:\\run.exe", "", false},
        {"C:\\song.mp3.lnk", "", false},
        {"C:\\Music\\setup", "", false},
        {"cmd", "", false},
        {"song.mp3", "", false},
        {"C:song.mp3", "", false},
        {"\\Music\\song.mp3", "", false},
        {"\\\\server\\share", "", false},
        {"\\\\server\\\\share\\a.mp3", "", false},
        {"\\\\.\\C:\\a.mp3", "", false},
        {"\\\\?\\UNC\\server\\share\\a.mp3", "", false},
        {"\"C:\\x\\a.exe\"", "", false},
        {"C:\\x\\\"a.mp3", "", false},
        {"file:///C:/song.mp3", "", false},
        {"shell:MyMusic\\a.mp3", "", false},
        {"ms-settings:a.mp3", "", false},
        {"C:\\a.mp3:x", "", false},
        {"C:\\a.mp3:x.mp3", "", false},
        {"C:\\a.mp3.", "", false},
        {"C:\\a.mp3 ", "", false},
        {"C:\\a.", "", false},
        {"C:\\Music\\", "", false},
        {"C:\\*.mp3", "", false},
        {"C:\\a\tb.mp3", "", false},
        {"C:\\a.mp", "mp3", false},
        {"", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.bMedia, IsMediaFileName(c.pszPath, c.pszTypes)) << c.pszPath;
}

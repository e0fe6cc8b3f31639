#include <gtest/gtest.h>
#include "players/MediaKeysRules.h"

TEST(MediaKeysRules, FilesThatWouldRunAsProgramsAreKnownWhateverTheirDisguise)
{
    for (const char* pszPath : {"C:\\run.exe", "C:\\a\\Setup.EXE", "C:run.bat", "D:\\x.mp3.lnk",
                                "run.exe. . ", "C:\\run.exe::$DATA", "\\\\host\\s\\a.vbs"})
        EXPECT_TRUE(IsProgramFile(pszPath)) << pszPath;
    for (const char* pszPath :
         {"C:\\song.mp3", "C:\\exe", "C:\\a.exe\\song", "C:\\a.exeb", "C:\\b.mp3.", ""})
        EXPECT_FALSE(IsProgramFile(pszPath)) << pszPath;
}

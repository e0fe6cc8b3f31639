#include <gtest/gtest.h>
#include <string.h>
#include "core/ControllerChoice.h"

class ControllerChoice : public ::testing::Test
{
protected:
    ControllerChoice()
    {
        memset(m_extensions, 0, sizeof(m_extensions));
        strcpy(m_extensions[0], "mp3;mp2;wav;wma");
        strcpy(m_extensions[3], "ppt;pps");
    }
    int Choose(const char* pszName, int nDefault = 0)
    {
        return ChooseKindForFile(pszName, m_extensions, 5, nDefault);
    }
    char m_extensions[5][260];
};

TEST_F(ControllerChoice, ByExtension)
{
    EXPECT_EQ(3, Choose("D:\\talk.ppt"));
    EXPECT_EQ(0, Choose("D:\\song.mp3"));
    EXPECT_EQ(0, Choose("D:\\song.MP3")) << "case-sensitive: the default kind";
    EXPECT_EQ(0, Choose("README")) << "no dot: the default kind";
    EXPECT_EQ(2, Choose("README", 2));
}

TEST_F(ControllerChoice, TheExtensionIsAPlainSubstring)
{
    EXPECT_EQ(0, Choose("x.mp", 3)) << "mp occurs in mp3;...; kind 3 does not match";
    EXPECT_EQ(0, Choose("x.", 0)) << "an empty extension matches every kind";
    EXPECT_EQ(3, Choose("x.", 3));
    EXPECT_EQ(3, Choose("archive.tar.pps", 1)) << "the text after the last dot";
}

TEST_F(ControllerChoice, TheDefaultWinsTiesThenTheLowestKind)
{
    strcpy(m_extensions[4], "mp3;ppt");
    EXPECT_EQ(4, Choose("x.mp3", 4));
    EXPECT_EQ(0, Choose("x.mp3", 2));
    strcpy(m_extensions[1], "ppt");
    EXPECT_EQ(1, Choose("x.ppt", 2));
}

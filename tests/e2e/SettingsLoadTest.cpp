// QuorvelServer.ini as the main window shows it at start.
#include "ServerTest.h"

class SettingsLoad : public CServerTest
{
};

TEST_F(SettingsLoad, PathLosesOneTrailingBackslash)
{
    StartServer("Path=D:\\Music\\\r\n");
    EXPECT_EQ("D:\\Music", m_server.ControlText(1000));
}

TEST_F(SettingsLoad, MissingKeysGiveTheDefaults)
{
    StartServer("");
    EXPECT_EQ("", m_server.ControlText(1000));
    EXPECT_EQ("", m_server.ControlText(1001));
    EXPECT_EQ("Winamp 2", m_server.ControlText(1018));
    EXPECT_EQ("mp3;mp2;wav;wma", m_server.ControlText(1019));
    EXPECT_EQ("", m_server.ControlText(1004));
    EXPECT_FALSE(m_server.IsChecked(1003));
    EXPECT_FALSE(m_server.IsChecked(1033));
    EXPECT_FALSE(m_server.IsChecked(1034));
    EXPECT_FALSE(m_server.IsChecked(1010));
}

TEST_F(SettingsLoad, KeysFillTheControls)
{
    StartServer("CommPort=COM4\r\nStartWinampAutomatically=1\r\nStopWhenSwitching=1\r\n"
                "StartMinimised=0\r\nDefaultApplication=3\r\n"
                "PathToApplication3=C:\\Viewer\\pptview.exe\r\n");
    EXPECT_EQ("COM4", m_server.ControlText(1001));
    EXPECT_TRUE(m_server.IsChecked(1003));
    EXPECT_TRUE(m_server.IsChecked(1033));
    EXPECT_EQ("PowerPoint Viewer 97", m_server.ControlText(1018));
    EXPECT_EQ("ppt", m_server.ControlText(1019))
        << "the default when ExtensionsHandled3 is missing";
    EXPECT_EQ("C:\\Viewer\\pptview.exe", m_server.ControlText(1004));
}

TEST_F(SettingsLoad, ADefaultApplicationOutsideTheFiveKindsFallsBackToWinamp2)
{
    StartServer("DefaultApplication=9\r\nListenOnSocket=1\r\n");
    EXPECT_EQ("Winamp 2", m_server.ControlText(1018));
    EXPECT_EQ("mp3;mp2;wav;wma", m_server.ControlText(1019));
    ConnectPhone(m_phone);
    ExpectNothingBeforeCheck(m_phone);
}

TEST_F(SettingsLoad, ListenOnSocketStartsTheListener)
{
    StartServer("ListenOnSocket=1\r\n");
    EXPECT_TRUE(m_server.IsChecked(1034));
    ConnectPhone(m_phone);
    ExpectNothingBeforeCheck(m_phone);
}

TEST_F(SettingsLoad, ListenOnSocketZeroLeavesThePortClosed)
{
    StartServer("ListenOnSocket=0\r\n");
    EXPECT_FALSE(m_server.IsChecked(1034));
    EXPECT_FALSE(m_phone.ConnectTcp("127.0.0.1", SERVER_PORT, 500));
}

TEST_F(SettingsLoad, NoSettingsFileMeansTheDefaults)
{
    ASSERT_TRUE(m_server.Start(m_dir.Path()));
    EXPECT_EQ("mp3;mp2;wav;wma", m_server.ControlText(1019));
    EXPECT_FALSE(m_phone.ConnectTcp("127.0.0.1", SERVER_PORT, 500));
}

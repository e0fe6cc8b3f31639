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

TEST_F(SettingsLoad, AWorkingDirectoryTooLongForTheFileKeepsNoSettings)
{
    // The directory fits, the file's path in it does not: it is neither cut short
    // (another file) nor asked for by the wizard (its answers could not be kept).
    std::string dir = m_dir.Path() + "\\" + std::string(250 - m_dir.Path().size() - 1, 'd');
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), NULL));
    ASSERT_TRUE(m_server.Start(dir));
    EXPECT_TRUE(m_server.WaitForLogToBe(
        "Settings can't be kept: the path of QuorvelServer.ini in this folder is too long\r\n"))
        << m_server.LogAfterBanner();
    EXPECT_EQ("mp3;mp2;wav;wma", m_server.ControlText(1019));
    m_server.Click(1006);
    DWORD nExitCode = 1;
    ASSERT_TRUE(m_server.WaitForExit(WAIT_LIMIT_MS, &nExitCode));
    EXPECT_EQ(0u, nExitCode);
    EXPECT_FALSE(m_dir.Exists("QuorvelServer.ini"));
    EXPECT_TRUE(RemoveDirectoryA(dir.c_str())) << "nothing was written into the folder";
}

// QuorvelServer.ini as the program leaves it: every way of ending that saves,
// the ways that save nothing, and what is saved from the controls.
#include "ServerTest.h"

class SettingsSave : public CServerTest
{
protected:
    // Changes every control the way a user would, without pressing Connect or
    // touching the arrays of the unselected kinds directly.
    void EditTheControls()
    {
        m_server.SetControlText(1001, "COM4"); // typed, not connected: not saved
        m_server.SetControlText(1000, "D:\\Music;E:\\Mp3");
        m_server.Click(1003);
        m_server.SetControlText(1004, "C:\\Winamp\\winamp.exe"); // kind 0, not yet in the array
        SelectKind(2);
        m_server.SetControlText(1004, "C:\\WMP\\wmplayer.exe");
        m_server.SetControlText(1019, "wma;asf");
        m_server.Click(1010);
        m_server.Click(1033);
    }

    void SelectKind(int nKind)
    {
        HWND hList = m_server.Control(1018);
        SendMessageA(hList, CB_SETCURSEL, nKind, 0);
        SendMessageA(m_server.Window(), WM_COMMAND, MAKEWPARAM(1018, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(hList));
    }

    void ExpectEndsWithCodeZero()
    {
        DWORD nExitCode = 1;
        ASSERT_TRUE(m_server.WaitForExit(WAIT_LIMIT_MS, &nExitCode));
        EXPECT_EQ(0u, nExitCode);
    }
};

static const std::string STARTING_SETTINGS =
    "CommPort=COM9\r\nPath=D:\\Music\\\r\nListenOnSocket=0\r\n";

// Keys the file had stay in their place; the others follow in the order of saving.
static const std::string SAVED_SETTINGS = "[QuorvelServer]\r\n"
                                          "CommPort=COM9\r\n"
                                          "Path=D:\\Music;E:\\Mp3\r\n"
                                          "ListenOnSocket=0\r\n"
                                          "StartWinampAutomatically=1\r\n"
                                          "DefaultApplication=2\r\n"
                                          "PathToApplication0=C:\\Winamp\\winamp.exe\r\n"
                                          "ExtensionsHandled0=mp3;mp2;wav;wma\r\n"
                                          "PathToApplication1=\r\n"
                                          "ExtensionsHandled1=\r\n"
                                          "PathToApplication2=C:\\WMP\\wmplayer.exe\r\n"
                                          "ExtensionsHandled2=wma;asf\r\n"
                                          "PathToApplication3=\r\n"
                                          "ExtensionsHandled3=ppt\r\n"
                                          "PathToApplication4=\r\n"
                                          "ExtensionsHandled4=\r\n"
                                          "StartMinimised=1\r\n"
                                          "StopWhenSwitching=1\r\n";

TEST_F(SettingsSave, ExitCloseBoxAndEndSessionSaveEverySetting)
{
    const char* const ways[] = {"Exit", "close box", "end of session"};
    for (const char* pszWay : ways)
    {
        SCOPED_TRACE(pszWay);
        StartServer(STARTING_SETTINGS);
        EditTheControls();
        std::string way = pszWay;
        HWND hWnd = m_server.Window();
        if (way == "Exit")
            m_server.Click(1006);
        else if (way == "close box")
            SendMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            SendMessageA(hWnd, WM_ENDSESSION, FALSE, 0);

        if (way == "end of session")
        {
            // Windows ends the process itself; the icon is left to the shell.
            EXPECT_TRUE(m_server.IsRunning());
            EXPECT_TRUE(CServerProcess::HasTrayIcon(hWnd));
            m_server.Kill();
        }
        else
        {
            ExpectEndsWithCodeZero();
            EXPECT_FALSE(CServerProcess::HasTrayIcon(hWnd));
        }
        EXPECT_EQ(SAVED_SETTINGS, m_dir.ReadFile("QuorvelServer.ini"));
        m_server.Kill();
    }
}

TEST_F(SettingsSave, EditsOfTheSelectedKindAreSavedAndTheOthersKeepTheirs)
{
    StartServer("DefaultApplication=1\r\nPathToApplication1=C:\\old.exe\r\n"
                "PathToApplication0=C:\\Winamp\\winamp.exe\r\nListenOnSocket=1\r\n");
    m_server.SetControlText(1004, "C:\\new.exe");
    m_server.SetControlText(1019, "ogg");
    m_server.Click(1006);
    ExpectEndsWithCodeZero();
    std::string ini = m_dir.ReadFile("QuorvelServer.ini");
    EXPECT_NE(std::string::npos, ini.find("PathToApplication1=C:\\new.exe\r\n")) << ini;
    EXPECT_NE(std::string::npos, ini.find("ExtensionsHandled1=ogg\r\n")) << ini;
    EXPECT_NE(std::string::npos, ini.find("PathToApplication0=C:\\Winamp\\winamp.exe\r\n")) << ini;
    EXPECT_NE(std::string::npos, ini.find("ExtensionsHandled0=mp3;mp2;wav;wma\r\n")) << ini;
    EXPECT_NE(std::string::npos, ini.find("ListenOnSocket=1\r\n")) << ini;
}

TEST_F(SettingsSave, ExitFromThePhoneSavesNothing)
{
    std::string settings = "ListenOnSocket=1\r\nPath=D:\\Music\r\n";
    StartServer(settings);
    m_server.SetControlText(1000, "E:\\Other");
    m_server.Click(1010);
    HWND hWnd = m_server.Window();
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("EXIT"));
    ExpectEndsWithCodeZero();
    EXPECT_EQ("[QuorvelServer]\r\n" + settings, m_dir.ReadFile("QuorvelServer.ini"));
    EXPECT_FALSE(CServerProcess::HasTrayIcon(hWnd));
}

TEST_F(SettingsSave, AFileThatCannotBeWrittenIsLeftAsItWas)
{
    StartServer(STARTING_SETTINGS);
    // The tests run as root, which writes read-only files; a handle that shares
    // only reading refuses every writer alike.
    HANDLE hFile = CreateFileA(m_dir.File("QuorvelServer.ini").c_str(), GENERIC_READ,
                               FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    EditTheControls();
    m_server.Click(1006);
    ExpectEndsWithCodeZero();
    CloseHandle(hFile);
    EXPECT_EQ("[QuorvelServer]\r\n" + STARTING_SETTINGS, m_dir.ReadFile("QuorvelServer.ini"));
}

TEST_F(SettingsSave, AFiveKindFileSavesBackAsItWasAndTheMediaKeysKeysComeAndGo)
{
    // What the five-kind program saved (the window shown, so that edits follow the
    // loading); then the sixth kind is set up, and emptied again.
    std::string fiveKinds = SAVED_SETTINGS;
    fiveKinds.replace(fiveKinds.find("StartMinimised=1"), 16, "StartMinimised=0");
    std::string withKeys = fiveKinds;
    withKeys.replace(withKeys.find("DefaultApplication=2"), 20, "DefaultApplication=5");
    withKeys += "PathToApplication5=C:\\Player\\player.exe\r\nExtensionsHandled5=mkq\r\n";
    m_dir.WriteFile("QuorvelServer.ini", fiveKinds);
    for (int nRun = 0; nRun < 3; nRun++)
    {
        ASSERT_TRUE(m_server.Start(m_dir.Path()));
        if (nRun > 0)
        {
            SelectKind(5);
            m_server.SetControlText(1004, nRun == 1 ? "C:\\Player\\player.exe" : "");
            m_server.SetControlText(1019, nRun == 1 ? "mkq" : "");
            SelectKind(nRun == 1 ? 5 : 2);
        }
        m_server.Click(1006);
        ExpectEndsWithCodeZero();
        EXPECT_EQ(nRun == 1 ? withKeys : fiveKinds, m_dir.ReadFile("QuorvelServer.ini")) << nRun;
        m_server.Kill();
    }
}

// The first-run wizard: a start without QuorvelServer.ini, each way through its
// pages, the settings it writes, and every way of cancelling it.
#include "ServerTest.h"
#include "ShellPickers.h"

static const char* const WELCOME_TEXT =
    "Quorvel is a system which allows you to browse and control the music on your PC from your "
    "phone, using Bluetooth.\n\nThis wizard will help you configure Quorvel for use on your PC.";
static const char* const APPLICATION_TEXT =
    "Select the main application you wish to use for controlling your media files. Quorvel will "
    "also be set up to control PowerPoint presentations.\r\n\r\nIf you only want to control "
    "PowerPoint, select the bottom option.";
static const char* const FOLDERS_TEXT = "Enter the location of the files you'd like to browse "
                                        "with Quorvel. You can enter multiple locations.";
static const char* const PORT_FOUND_TEXT =
    "To configure the Bluetooth connection to your phone, a Bluetooth COM port must be selected. "
    "The port which Quorvel thinks it should use is given below. This can be changed now or "
    "later if it's wrong.";
static const char* const PORT_NOT_FOUND_TEXT =
    "To configure the Bluetooth connection to your phone, a Bluetooth COM port must be selected. "
    "Look at the settings of your Bluetooth adapter to find which port to enter here.";
static const char* const COMPLETE_TEXT = "Setup is complete. Press Next to start using Quorvel.";

static const int NEXT = 1021, TEXT = 1022, CANCEL = 1026, EDIT = 1027;
static const int SELECT_FOLDER = 1028, ADD_FOLDER = 1029, CLEAR = 1030, SELECT_FILE = 1031;

// The settings a finished wizard writes, in the order it writes them.
static std::string FirstRunSettings(int nKind, const std::string& appPath,
                                    const std::string& folders, const std::string& port)
{
    std::string ini =
        "[QuorvelServer]\r\nCommPort=" + port + "\r\nPath=" + folders +
        "\r\nStartWinampAutomatically=1\r\nDefaultApplication=" + std::to_string(nKind) + "\r\n";
    for (int i = 0; i < 5; i++)
    {
        std::string extensions = i == nKind ? "mp3;mp2;wav;wma" : i == 3 ? "ppt;pps" : "";
        ini += "PathToApplication" + std::to_string(i) + "=" + (i == nKind ? appPath : "") +
               "\r\nExtensionsHandled" + std::to_string(i) + "=" + extensions + "\r\n";
    }
    // The media keys' kind has keys only when chosen; its path, left empty here, is not written.
    return ini + "StartMinimised=0\r\n" +
           (nKind == 5 ? "ExtensionsHandled5=mp3;mp2;wav;wma\r\n" : "");
}

class SetupWizard : public CServerTest
{
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Widcomm"); }
    void TearDown() override
    {
        CServerTest::TearDown();
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Widcomm");
    }

    void LaunchWizard()
    {
        ASSERT_TRUE(m_server.Launch(m_dir.Path()));
        // The wizard shows itself once its controls are made.
        m_hWizard = m_server.WaitForDialog("Welcome to Quorvel", true);
        ASSERT_TRUE(m_hWizard) << "no wizard";
        m_hMain = m_server.WaitForDialog("Quorvel", false);
        ASSERT_TRUE(m_hMain) << "no main window behind the wizard";
    }

    void Next() { PressButton(m_hWizard, NEXT); }
    std::string Text() { return DialogItemText(m_hWizard, TEXT); }
    std::string Edit() { return DialogItemText(m_hWizard, EDIT); }
    void SetEdit(const std::string& text)
    {
        SendMessageA(GetDlgItem(m_hWizard, EDIT), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(text.c_str()));
    }
    void Click(int nId) { SendMessageA(GetDlgItem(m_hWizard, nId), BM_CLICK, 0, 0); }
    bool Checked(int nId)
    {
        return SendMessageA(GetDlgItem(m_hWizard, nId), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    // The ids of the page's own controls that are shown.
    std::string Shown()
    {
        std::string shown;
        for (int nId = 1023; nId <= 1035; nId++)
            if (nId != CANCEL && IsWindowVisible(GetDlgItem(m_hWizard, nId)))
                shown += (shown.empty() ? "" : " ") + std::to_string(nId);
        return shown;
    }

    HWND OpenPicker(int nButton)
    {
        PostPressButton(m_hWizard, nButton);
        return WaitForOwnedWindow(m_hWizard);
    }

    void ChooseFolder(int nButton, const CDesktopFolder& folder)
    {
        HWND hPicker = OpenPicker(nButton);
        ASSERT_TRUE(hPicker);
        EXPECT_EQ(nButton == SELECT_FOLDER ? "Select a folder which contains your music."
                                           : "Select a folder to add to the list.",
                  FolderPickerTitle(hPicker));
        ASSERT_TRUE(ChooseDesktopFolder(m_server.ProcessHandle(), hPicker, folder.Name()));
        ASSERT_TRUE(WaitForWindowToClose(hPicker));
    }

    // The wizard closes and the main window comes up with the settings loaded.
    void ExpectMainWindowFollows()
    {
        ASSERT_TRUE(WaitForWindowToClose(m_hWizard));
        ASSERT_TRUE(m_server.WaitForMainWindow());
    }

    HWND m_hWizard = NULL;
    HWND m_hMain = NULL;
};

TEST_F(SetupWizard, AFirstStartOpensTheWizardBeforeAnythingIsLoaded)
{
    LaunchWizard();
    EXPECT_EQ(WELCOME_TEXT, Text());
    EXPECT_EQ("", Shown());
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongA(GetDlgItem(m_hWizard, NEXT), GWL_STYLE) & 0x0F);
    EXPECT_EQ("Next", DialogItemText(m_hWizard, NEXT));
    EXPECT_EQ("Cancel", DialogItemText(m_hWizard, CANCEL));
    EXPECT_FALSE(IsWindowVisible(m_hMain));
    EXPECT_EQ(CB_ERR, SendMessageA(GetDlgItem(m_hMain, 1018), CB_GETCURSEL, 0, 0))
        << "settings loaded before the wizard ended";
    EXPECT_TRUE(CServerProcess::HasTrayIcon(m_hMain));
    EXPECT_FALSE(m_dir.Exists("QuorvelServer.ini"));

    // Enter acts as Next, the default button.
    PostMessageA(GetDlgItem(m_hWizard, NEXT), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitUntil([&] { return Text() == APPLICATION_TEXT; })) << Text();
    EXPECT_EQ("1023 1024 1025 1032 1035", Shown());
    EXPECT_TRUE(Checked(1023));
}

struct WizardPath
{
    int nRadio;
    int nKind;
    const char* pszPathPage; // NULL: the path page is skipped
};

TEST_F(SetupWizard, EachChoiceWritesItsSettingsAndTheMainWindowShowsThem)
{
    const WizardPath paths[] = {{1023, 0, "Enter the path to Winamp 2."},
                                {1025, 2, "Enter the path to Windows Media Player."},
                                {1032, 3, NULL},
                                {1035, 5,
                                 "Enter the path to the player Quorvel should start, or leave it "
                                 "empty to control whichever player is playing."}};
    const char* const appNames[] = {"Winamp 2", "Winamp 3", "Windows Media Player 7",
                                    "PowerPoint Viewer 97"};
    for (const WizardPath& path : paths)
    {
        SCOPED_TRACE(path.nKind);
        LaunchWizard();
        Next();
        Click(path.nRadio);
        Next();
        std::string appPath;
        if (path.pszPathPage)
        {
            EXPECT_EQ(path.pszPathPage, Text());
            EXPECT_EQ("1027 1031", Shown());
            EXPECT_EQ("", Edit());
            if (path.nKind != 5) // the media keys need no path
                appPath = "C:\\Apps\\player" + std::to_string(path.nKind) + ".exe";
            SetEdit(appPath);
            Next();
        }
        EXPECT_EQ(FOLDERS_TEXT, Text());
        EXPECT_EQ("1027 1028 1029 1030", Shown());
        EXPECT_EQ("", Edit()) << "the path page's text does not carry over";
        SetEdit("D:\\Music;E:\\Mp3");
        Next();
        EXPECT_EQ(PORT_NOT_FOUND_TEXT, Text());
        EXPECT_EQ("1027", Shown());
        EXPECT_EQ("", Edit());
        SetEdit("COM7");
        Next();
        EXPECT_EQ(COMPLETE_TEXT, Text());
        EXPECT_EQ("", Shown());
        EXPECT_FALSE(m_dir.Exists("QuorvelServer.ini"));
        Next();

        ExpectMainWindowFollows();
        EXPECT_EQ(FirstRunSettings(path.nKind, appPath, "D:\\Music;E:\\Mp3", "COM7"),
                  m_dir.ReadFile("QuorvelServer.ini"));
        EXPECT_EQ(path.nKind == 5 ? "Any player (media keys)" : appNames[path.nKind],
                  m_server.ControlText(1018));
        EXPECT_EQ(appPath, m_server.ControlText(1004));
        EXPECT_EQ("mp3;mp2;wav;wma", m_server.ControlText(1019));
        EXPECT_EQ("D:\\Music;E:\\Mp3", m_server.ControlText(1000));
        EXPECT_EQ("COM7", m_server.ControlText(1001));
        EXPECT_TRUE(m_server.IsChecked(1003));
        EXPECT_FALSE(m_server.IsChecked(1010));
        EXPECT_FALSE(m_server.IsChecked(1034));
        EXPECT_EQ(0u, m_server.LogAfterBanner().find(
                          "Couldn't automatically find which COM port to use\r\n"))
            << m_server.LogAfterBanner();
        EXPECT_NE(std::string::npos,
                  m_server.LogAfterBanner().find("To let phones in over TCP, tick \"Listen on "
                                                 "Internet socket\"."));
        m_server.Kill();
        DeleteFileA(m_dir.File("QuorvelServer.ini").c_str());
    }
}

TEST_F(SetupWizard, PickersFillTheEditAndTheFoundPortIsProposed)
{
    CDesktopFolder music("Music"), mp3("Mp3"), other("Other");
    HKEY hKey = NULL;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Widcomm\\BTConfig\\Services\\0001", 0, NULL, 0,
                    KEY_WRITE, NULL, &hKey, NULL);
    const char szName[] = "Quorvel serial";
    DWORD nPort = 5;
    RegSetValueExA(hKey, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(szName), sizeof(szName));
    RegSetValueExA(hKey, "ComPortNumber", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&nPort),
                   sizeof(nPort));
    RegCloseKey(hKey);
    m_dir.WriteFile("winamp3.exe", "");

    LaunchWizard();
    Next();
    Click(1024);
    Next();
    EXPECT_EQ("Enter the path to Winamp 3.", Text());
    SetEdit(m_dir.File("studio.exe"));
    HWND hOpen = OpenPicker(SELECT_FILE);
    ASSERT_TRUE(hOpen);
    EXPECT_EQ("Open", WindowText(hOpen));
    EXPECT_EQ("studio.exe", FilePickerFileName(hOpen));
    EXPECT_FALSE(FilePickerShowsReadOnly(hOpen));
    ChooseFile(hOpen, m_dir.File("winamp3.exe"));
    ASSERT_TRUE(WaitForWindowToClose(hOpen));
    EXPECT_TRUE(WaitForDialogItemText(m_hWizard, EDIT, m_dir.File("winamp3.exe"))) << Edit();
    Next();

    ChooseFolder(SELECT_FOLDER, other);
    EXPECT_TRUE(WaitForDialogItemText(m_hWizard, EDIT, other.Path())) << Edit();
    Click(CLEAR);
    EXPECT_EQ("", Edit());
    ChooseFolder(ADD_FOLDER, music);
    EXPECT_TRUE(WaitForDialogItemText(m_hWizard, EDIT, music.Path()))
        << "no \";\" before the first folder: " << Edit();
    ChooseFolder(ADD_FOLDER, mp3);
    EXPECT_TRUE(WaitForDialogItemText(m_hWizard, EDIT, music.Path() + ";" + mp3.Path())) << Edit();
    Next();

    EXPECT_EQ(PORT_FOUND_TEXT, Text());
    EXPECT_EQ("COM5", Edit());
    Next();
    Next();
    ExpectMainWindowFollows();
    EXPECT_EQ(
        FirstRunSettings(1, m_dir.File("winamp3.exe"), music.Path() + ";" + mp3.Path(), "COM5"),
        m_dir.ReadFile("QuorvelServer.ini"));
    EXPECT_EQ("Winamp 3", m_server.ControlText(1018));
}

TEST_F(SetupWizard, AddRefusesAFolderThatWouldOverfillTheList)
{
    CDesktopFolder music("Music");
    LaunchWizard();
    Next();
    Next();
    Next();
    std::string list = "C:\\" + std::string(259 - 3 - music.Path().size(), 'f');
    SetEdit(list);
    ChooseFolder(ADD_FOLDER, music);
    EXPECT_EQ(list, Edit());
    EXPECT_NE(std::string::npos,
              DialogItemText(m_hMain, 1005)
                  .find("Couldn't add \"" + music.Path() +
                        "\": the list of folders would be longer than 259 characters\r\n"));
    list.pop_back();
    SetEdit(list);
    ChooseFolder(ADD_FOLDER, music);
    EXPECT_EQ(list + ";" + music.Path(), Edit());
}

TEST_F(SetupWizard, CancelOnAnyPageEscAndTheCloseBoxEndWithNothingLeft)
{
    for (int nPage = 0; nPage <= 5; nPage++)
    {
        for (const char* pszWay : {"Cancel", "Esc", "close box"})
        {
            // Every way on the first and the last page, Cancel on the others.
            std::string way = pszWay;
            if (way != "Cancel" && nPage != 0 && nPage != 5)
                continue;
            SCOPED_TRACE(way + " on page " + std::to_string(nPage));
            LaunchWizard();
            for (int i = 0; i < nPage; i++)
                Next();
            if (way == "Cancel")
                PostPressButton(m_hWizard, CANCEL);
            else if (way == "Esc")
                PostMessageA(GetDlgItem(m_hWizard, NEXT), WM_KEYDOWN, VK_ESCAPE, 0);
            else
                PostMessageA(m_hWizard, WM_SYSCOMMAND, SC_CLOSE, 0);
            DWORD nExitCode = 1;
            ASSERT_TRUE(m_server.WaitForExit(WAIT_LIMIT_MS, &nExitCode));
            EXPECT_EQ(0u, nExitCode);
            EXPECT_FALSE(m_dir.Exists("QuorvelServer.ini"));
            EXPECT_FALSE(CServerProcess::HasTrayIcon(m_hMain));
            m_server.Kill();
        }
    }
}

// The main window: hiding in the tray and coming back, the folder and file
// pickers, the About box and labels that show their whole text.
#include "ServerTest.h"
#include "ShellPickers.h"

static const int WM_TRAYNOTIFY = WM_USER + 101;
static const UINT IDM_ABOUTBOX = 0x10;

class MainWindow : public CServerTest
{
protected:
    void TrayMouse(UINT nMouseMessage)
    {
        SendMessageA(m_server.Window(), WM_TRAYNOTIFY, 100, nMouseMessage);
    }

    bool Visible() { return IsWindowVisible(m_server.Window()) != FALSE; }

    void ExpectRestoredAtTheTrayPlace()
    {
        EXPECT_TRUE(Visible());
        EXPECT_FALSE(IsIconic(m_server.Window()));
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        ASSERT_TRUE(GetWindowPlacement(m_server.Window(), &placement));
        EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), placement.showCmd);
        RECT window;
        GetWindowRect(m_server.Window(), &window);
        const RECT* const rects[] = {&placement.rcNormalPosition, &window};
        for (const RECT* pRect : rects)
        {
            EXPECT_EQ(100, pRect->left);
            EXPECT_EQ(100, pRect->top);
            EXPECT_EQ(550, pRect->right);
            EXPECT_EQ(645, pRect->bottom);
        }
    }

    // Opens a picker with a button of the main window and returns its window.
    HWND OpenPicker(int nButton)
    {
        PostPressButton(m_server.Window(), nButton);
        return WaitForOwnedWindow(m_server.Window());
    }
};

TEST_F(MainWindow, MinimiseHidesInTheTrayAndALeftClickBringsItBack)
{
    StartServer();
    HWND hWnd = m_server.Window();
    EXPECT_TRUE(GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "in the taskbar";
    EXPECT_TRUE(CServerProcess::HasTrayIcon(hWnd));

    SendMessageA(hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(Visible()) << "a hidden window leaves the taskbar";
    TrayMouse(WM_RBUTTONUP);
    TrayMouse(WM_LBUTTONDBLCLK);
    EXPECT_FALSE(Visible()) << "only the left button's release shows it";

    TrayMouse(WM_LBUTTONUP);
    ExpectRestoredAtTheTrayPlace();
    TrayMouse(WM_RBUTTONUP);
    EXPECT_TRUE(Visible());
    TrayMouse(WM_LBUTTONUP);
    EXPECT_FALSE(Visible());
    TrayMouse(WM_LBUTTONUP);
    ExpectRestoredAtTheTrayPlace();

    // The phone is still served while the window comes and goes.
    ConnectPhone(m_phone);
    ExpectNothingBeforeCheck(m_phone);
}

TEST_F(MainWindow, StartMinimisedShowsOnlyTheTrayIcon)
{
    WriteSettings("StartMinimised=1\r\nListenOnSocket=1\r\n");
    ASSERT_TRUE(m_server.Launch(m_dir.Path()));
    bool bEverSeen = false;
    ASSERT_TRUE(WaitUntil(
        [&]
        {
            HWND hWnd = m_server.Window();
            if (hWnd && IsWindowVisible(hWnd))
                bEverSeen = true;
            return m_server.AttachMainWindow(0);
        }));
    ConnectPhone(m_phone); // the initialisation has run to its end
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_FALSE(bEverSeen);
    EXPECT_FALSE(Visible());
    EXPECT_TRUE(m_server.IsChecked(1010));
    EXPECT_TRUE(CServerProcess::HasTrayIcon(m_server.Window()));

    TrayMouse(WM_LBUTTONUP);
    ExpectRestoredAtTheTrayPlace();
}

TEST_F(MainWindow, FolderButtonsSelectAddAndClearTheList)
{
    CDesktopFolder music("Music"), mp3("Mp3");
    StartServer("ListenOnSocket=1\r\nPath=C:\\Old\r\n");

    HWND hPicker = OpenPicker(1008);
    ASSERT_TRUE(hPicker);
    EXPECT_EQ("Select the folder which contains your music.", FolderPickerTitle(hPicker));
    ASSERT_TRUE(ChooseDesktopFolder(m_server.ProcessHandle(), hPicker, music.Name()));
    EXPECT_TRUE(WaitForDialogItemText(m_server.Window(), 1000, music.Path()))
        << m_server.ControlText(1000);

    // Add appends to the list as picked, not to what was typed since.
    m_server.SetControlText(1000, "X:\\Typed");
    hPicker = OpenPicker(1011);
    ASSERT_TRUE(hPicker);
    EXPECT_EQ("Select a folder to add to the list.", FolderPickerTitle(hPicker));
    ASSERT_TRUE(ChooseDesktopFolder(m_server.ProcessHandle(), hPicker, mp3.Name()));
    EXPECT_TRUE(WaitForDialogItemText(m_server.Window(), 1000, music.Path() + ";" + mp3.Path()))
        << m_server.ControlText(1000);

    hPicker = OpenPicker(1011);
    ASSERT_TRUE(hPicker);
    CancelPicker(hPicker);
    ASSERT_TRUE(WaitForWindowToClose(hPicker));
    EXPECT_EQ(music.Path() + ";" + mp3.Path(), m_server.ControlText(1000));

    m_server.Click(1012);
    EXPECT_EQ("", m_server.ControlText(1000));
    hPicker = OpenPicker(1011);
    ASSERT_TRUE(hPicker);
    ASSERT_TRUE(ChooseDesktopFolder(m_server.ProcessHandle(), hPicker, mp3.Name()));
    EXPECT_TRUE(WaitForDialogItemText(m_server.Window(), 1000, mp3.Path()))
        << "Clear emptied the list itself: " << m_server.ControlText(1000);
    EXPECT_TRUE(m_server.WaitForLogToBe("")) << m_server.LogAfterBanner();
}

TEST_F(MainWindow, AFolderThatWouldOverfillTheListIsRefused)
{
    CDesktopFolder music("Music");
    std::string list = "C:\\" + std::string(259 - 3 - music.Path().size(), 'f');
    StartServer("ListenOnSocket=1\r\nPath=" + list + "\r\n");
    HWND hPicker = OpenPicker(1011);
    ASSERT_TRUE(hPicker);
    ASSERT_TRUE(ChooseDesktopFolder(m_server.ProcessHandle(), hPicker, music.Name()));
    EXPECT_TRUE(m_server.WaitForLogToBe("Couldn't add \"" + music.Path() +
                                        "\": the list of folders would be longer than 259 "
                                        "characters\r\n"))
        << m_server.LogAfterBanner();
    EXPECT_EQ(list, m_server.ControlText(1000));

    // One character shorter, and the same folder fits exactly.
    list.pop_back();
    m_server.Click(1012);
    m_server.Kill();
    StartServer("ListenOnSocket=1\r\nPath=" + list + "\r\n");
    hPicker = OpenPicker(1011);
    ASSERT_TRUE(hPicker);
    ASSERT_TRUE(ChooseDesktopFolder(m_server.ProcessHandle(), hPicker, music.Name()));
    ASSERT_EQ(259u, list.size() + 1 + music.Path().size());
    EXPECT_TRUE(WaitForDialogItemText(m_server.Window(), 1000, list + ";" + music.Path()))
        << m_server.ControlText(1000);
}

TEST_F(MainWindow, BrowseStartsAtThePathToAppAndTakesTheChosenFile)
{
    m_dir.WriteFile("player.exe", "");
    m_dir.WriteFile("other.exe", "");
    StartServer("ListenOnSocket=1\r\nPathToApplication0=" + m_dir.File("player.exe") + "\r\n");

    HWND hOpen = OpenPicker(1009);
    ASSERT_TRUE(hOpen);
    EXPECT_EQ("Open", WindowText(hOpen)) << "no title of its own";
    EXPECT_EQ("player.exe", FilePickerFileName(hOpen));
    EXPECT_FALSE(FilePickerShowsReadOnly(hOpen));
    CancelPicker(hOpen);
    ASSERT_TRUE(WaitForWindowToClose(hOpen));
    EXPECT_EQ(m_dir.File("player.exe"), m_server.ControlText(1004));

    hOpen = OpenPicker(1009);
    ASSERT_TRUE(hOpen);
    ChooseFile(hOpen, m_dir.File("other.exe"));
    ASSERT_TRUE(WaitForWindowToClose(hOpen));
    EXPECT_TRUE(WaitForDialogItemText(m_server.Window(), 1004, m_dir.File("other.exe")))
        << m_server.ControlText(1004);
}

TEST_F(MainWindow, AboutBoxIsCentredOnTheMainWindow)
{
    StartServer();
    PostMessageA(m_server.Window(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND hAbout = WaitForOwnedWindow(m_server.Window());
    ASSERT_TRUE(hAbout);
    EXPECT_EQ("About QuorvelServer", WindowText(hAbout));
    RECT about, main;
    GetWindowRect(hAbout, &about);
    GetWindowRect(m_server.Window(), &main);
    EXPECT_NEAR(main.left + main.right, about.left + about.right, 1);
    EXPECT_NEAR(main.top + main.bottom, about.top + about.bottom, 1);
    PressButton(hAbout, IDOK);
    EXPECT_TRUE(WaitForWindowToClose(hAbout));
    EXPECT_TRUE(m_server.IsRunning());
}

struct LabelSearch
{
    const char* pszText;
    HWND hFound;
};

static BOOL CALLBACK MatchLabel(HWND hWnd, LPARAM lParam)
{
    LabelSearch* pSearch = reinterpret_cast<LabelSearch*>(lParam);
    if (WindowText(hWnd) != pSearch->pszText)
        return TRUE;
    pSearch->hFound = hWnd;
    return FALSE;
}

TEST_F(MainWindow, LabelsShowTheirWholeText)
{
    StartServer();
    // The dialog's font, made the way the dialog makes it.
    HDC hDC = GetDC(NULL);
    HFONT hFont = CreateFontA(-MulDiv(8, GetDeviceCaps(hDC, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL,
                              FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    HGDIOBJ hOld = SelectObject(hDC, hFont);
    const char* const labels[] = {"Files to browse:", "COM port:", "Default application:",
                                  "Handles file types:", "Path to app:"};
    const int controls[] = {1000, 1001, 1018, 1019, 1004};
    for (int i = 0; i < 5; i++)
    {
        SCOPED_TRACE(labels[i]);
        LabelSearch search = {labels[i], NULL};
        EnumChildWindows(m_server.Window(), MatchLabel, reinterpret_cast<LPARAM>(&search));
        ASSERT_TRUE(search.hFound);
        RECT text = {0, 0, 1000, 100};
        DrawTextA(hDC, labels[i], -1, &text, DT_CALCRECT | DT_SINGLELINE);
        RECT client, label, control;
        GetClientRect(search.hFound, &client);
        GetWindowRect(search.hFound, &label);
        GetWindowRect(m_server.Control(controls[i]), &control);
        EXPECT_LE(text.right, client.right) << "the text is wider than its label";
        EXPECT_LE(label.right, control.left) << "the label runs under its control";
    }
    SelectObject(hDC, hOld);
    DeleteObject(hFont);
    ReleaseDC(NULL, hDC);
}

TEST_F(MainWindow, AKeyTypedAfterStartLeavesTheFoldersAlone)
{
    StartServer("ListenOnSocket=1\r\nPath=C:\\Music\r\n");
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(m_server.Window(), NULL), &info));
    ASSERT_TRUE(info.hwndFocus != NULL);
    DWORD nStart = 1, nEnd = 0;
    SendMessageA(m_server.Control(1000), EM_GETSEL, reinterpret_cast<WPARAM>(&nStart),
                 reinterpret_cast<LPARAM>(&nEnd));
    EXPECT_EQ(nStart, nEnd) << "nothing of \"Files to browse:\" is selected";
    SendMessageA(info.hwndFocus, WM_CHAR, 'x', 0);
    EXPECT_EQ("C:\\Music", m_server.ControlText(1000));
}

// "Files to browse:" reaches the core when its editing ends, never half-typed:
// typing "<temp>\B" passes through "<temp>\", the whole temporary folder.
TEST_F(MainWindow, FilesToBrowseAreTakenWhenTheirEditingEnds)
{
    const std::string a = m_dir.File("A"), b = m_dir.File("B"), c = m_dir.File("C");
    StartServer("ListenOnSocket=1\r\nPath=" + a + "\r\n");
    ConnectPhone(m_phone);
    HWND hEdit = m_server.Control(1000);
    // The folders DLST of no name lists, as the log names them.
    auto listed = [&]
    {
        size_t nBefore = CountOccurrences(m_server.Log(), "Listing \"");
        EXPECT_TRUE(m_phone.Send(std::string("DLST\0\0", 6)));
        EXPECT_TRUE(
            WaitUntil([&] { return CountOccurrences(m_server.Log(), "Listing \"") > nBefore; }));
        std::string log = m_server.Log();
        size_t nStart = log.rfind("Listing \"") + 9;
        return log.substr(nStart, log.find('"', nStart) - nStart);
    };
    auto typeInto = [&](const std::string& text)
    {
        SendMessageA(m_server.Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hEdit), TRUE);
        SendMessageA(hEdit, EM_SETSEL, 0, -1);
        for (char ch : text)
            SendMessageA(hEdit, WM_CHAR, static_cast<unsigned char>(ch), 0);
    };
    typeInto(m_dir.Path() + "\\");
    EXPECT_EQ(a, listed()) << "half-typed";
    SendMessageA(hEdit, WM_CHAR, 'B', 0);
    EXPECT_EQ(a, listed()) << "still being typed";
    SendMessageA(m_server.Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_server.Control(1001)),
                 TRUE);
    EXPECT_EQ(b, listed()) << "the focus left it";
    typeInto(c);
    PostMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitUntil([&] { return listed() == c; })) << "Enter in it";
    EXPECT_EQ(c, m_server.ControlText(1000));
}

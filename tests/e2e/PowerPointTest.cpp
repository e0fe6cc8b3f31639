// Slide shows from the phone: the PowerPoint Viewer and PowerPoint controllers
// driving the fake automation server (the calls it records, in order), the
// "Error" box when no server is registered, and the screen-saver timeout.
#include "FakeAutomation.h"
#include "FakeWinamp.h"
#include "ServerTest.h"

// The kinds of the two presentation programs, and the main window's Exit button.
static const int APP_VIEWER = 3;
static const int APP_POWERPOINT = 4;
static const int IDC_EXIT_BUTTON = 1006;
static const int IDC_STOP_WHEN_SWITCHING = 1033;
// Set in the fake's folder: every call fails with the code in it; calls wait while held.
static const char* const GONE = "automation\\FakePowerPoint.gone";

static const std::string CONNECTED = "Client connected on Internet socket\r\n";
static const std::string ACK = "Sent ACK to phone\r\n";
static const char* const VIEWER_ERROR =
    "Couldn't load PowerPoint Viewer. Is the correct version installed?";
static const char* const POWERPOINT_ERROR =
    "Couldn't load PowerPoint 2003. Is the correct version installed?";

// The value each test sets before the server reads it. Of the three timeouts the
// controllers save, Wine keeps only this one: its low-power and power-off actions
// fail with ERROR_INVALID_SPI_VALUE, so those two are checked by the unit tests.
static const int SAVED_TIMEOUT = 777;

// Read in a process of its own, since each process keeps the value it read.
static int ScreenSaverTimeout()
{
    std::string command =
        "\"" + TestBinDir() + "\\SystemParameter.exe\" " + std::to_string(SPI_GETSCREENSAVETIMEOUT);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // Seen once under a heavy load: Wine failed to start it; a second try is enough.
    bool bStarted = false;
    for (int nTry = 0; nTry < 3 && !bStarted; nTry++)
    {
        if (nTry > 0)
            Sleep(500);
        bStarted = CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                                  &process) != FALSE;
    }
    if (!bStarted)
        return -2;
    DWORD nExitCode = static_cast<DWORD>(-2);
    if (WaitForSingleObject(process.hProcess, WAIT_LIMIT_MS) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &nExitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(nExitCode);
}

static void SetScreenSaverTimeout(int nSeconds)
{
    SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, static_cast<UINT>(nSeconds), NULL, 0);
}

// What PowerPoint is asked for to reach the running show's view.
static const std::string VIEW = "Application 11\nPresentation 59\nSlideShowWindow 9\n";

static std::string PowerPointOpens(const std::string& path, int nSlides)
{
    return "Application 44 -1\nApplication 7\nPresentations 15 \"" + path + "\" 0 0 1\n" +
           "Application 11\nPresentation 17\nSlides 9 -> " + std::to_string(nSlides) + "\n" +
           "Application 11\nPresentation 21\nSlideShowSettings 17\n";
}

static std::string NextFrom(int nSlide)
{
    return VIEW + "SlideShowView 37 -> " + std::to_string(nSlide) + "\n" + VIEW +
           "SlideShowView 29\n";
}

struct MessageBoxSeen
{
    HWND hWnd;
    HWND hOwner;
    std::string caption;
    std::string text;
    int nButtons;
    int nButtonId;
    bool bIcon;
};

static BOOL CALLBACK ReadBoxChild(HWND hChild, LPARAM lParam)
{
    MessageBoxSeen& box = *reinterpret_cast<MessageBoxSeen*>(lParam);
    char szClass[32] = "";
    char szText[256] = "";
    GetClassNameA(hChild, szClass, sizeof(szClass));
    GetWindowTextA(hChild, szText, sizeof(szText));
    if (lstrcmpiA(szClass, "Button") == 0 && IsWindowVisible(hChild))
    {
        box.nButtons++;
        box.nButtonId = GetDlgCtrlID(hChild);
    }
    if (lstrcmpiA(szClass, "Static") != 0)
        return TRUE;
    box.text += szText;
    if ((GetWindowLongA(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        SendMessageA(hChild, STM_GETICON, 0, 0) != 0)
        box.bIcon = true;
    return TRUE;
}

struct BoxSearch
{
    DWORD nProcessId;
    HWND hFound;
};

static BOOL CALLBACK MatchDialog(HWND hWnd, LPARAM lParam)
{
    BoxSearch& search = *reinterpret_cast<BoxSearch*>(lParam);
    DWORD nProcessId = 0;
    GetWindowThreadProcessId(hWnd, &nProcessId);
    char szClass[32] = "";
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (nProcessId != search.nProcessId || strcmp(szClass, "#32770") != 0 || !IsWindowVisible(hWnd))
        return TRUE;
    char szTitle[64] = "";
    GetWindowTextA(hWnd, szTitle, sizeof(szTitle));
    if (strcmp(szTitle, "Quorvel") == 0)
        return TRUE;
    search.hFound = hWnd;
    return FALSE;
}

// A dialog of the server other than its main window, or NULL.
static HWND FindServerBox(DWORD nProcessId)
{
    BoxSearch search = {nProcessId, NULL};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

class SlideShow : public CServerTest
{
protected:
    SlideShow() : m_automation(m_dir), m_winamp(m_dir) {}

    void SetUp() override
    {
        CFakeAutomation::Unregister();
        SetScreenSaverTimeout(SAVED_TIMEOUT);
        m_dir.WriteFile("talk.ppt", "slides");
    }

    // The server, over TCP, with the given kind handling "ppt;pps"; Winamp 2 is
    // the default application.
    void StartFor(int nKind)
    {
        std::string viewerTakesNone = nKind == APP_VIEWER ? "" : "ExtensionsHandled3=\r\n";
        StartServer("ListenOnSocket=1\r\n" + viewerTakesNone + "ExtensionsHandled" +
                    std::to_string(nKind) + "=ppt;pps\r\n");
        ConnectPhone(m_phone);
    }

    // Sends the bytes; once a CHCK after them is answered, all their calls are in.
    std::string CallsFor(const std::string& bytes, CPhoneClient& phone)
    {
        m_automation.ForgetCalls();
        EXPECT_TRUE(phone.Send(bytes));
        ExpectNothingBeforeCheck(phone);
        return m_automation.Calls();
    }
    std::string CallsFor(const std::string& bytes) { return CallsFor(bytes, m_phone); }

    static std::string Play(const std::string& path) { return "PLAY" + EncodeName(path); }

    std::string Reply(const std::string& command, size_t nSize)
    {
        EXPECT_TRUE(m_phone.Send(command));
        std::string reply;
        EXPECT_TRUE(m_phone.Receive(nSize, reply, REPLY_TIMEOUT_MS)) << HexBytes(reply);
        return reply;
    }

    // Waits (the box of a worker thread can be slow to appear under Wine) for
    // the server's message box, reads it and dismisses it with its OK button.
    MessageBoxSeen DismissBox()
    {
        MessageBoxSeen box = {NULL, NULL, "", "", 0, 0, false};
        for (int i = 0; i < 1500 && !box.hWnd; i++)
        {
            box.hWnd = FindServerBox(m_server.ProcessId());
            if (!box.hWnd)
                Sleep(20);
        }
        if (!box.hWnd)
            return box;
        box.hOwner = GetWindow(box.hWnd, GW_OWNER);
        char szCaption[64] = "";
        GetWindowTextA(box.hWnd, szCaption, sizeof(szCaption));
        box.caption = szCaption;
        EnumChildWindows(box.hWnd, ReadBoxChild, reinterpret_cast<LPARAM>(&box));
        PostMessageA(box.hWnd, WM_COMMAND, MAKEWPARAM(box.nButtonId, BN_CLICKED), 0);
        for (int i = 0; i < 500 && IsWindow(box.hWnd); i++)
            Sleep(20);
        return box;
    }

    void ExpectErrorBox(const char* pszText)
    {
        MessageBoxSeen box = DismissBox();
        ASSERT_TRUE(box.hWnd != NULL) << "no message box";
        EXPECT_EQ("Error", box.caption);
        EXPECT_EQ(pszText, box.text);
        EXPECT_TRUE(box.hOwner == NULL) << "the box has no owner window";
        EXPECT_EQ(1, box.nButtons);
        EXPECT_EQ(IDOK, box.nButtonId);
        EXPECT_FALSE(box.bIcon);
        EXPECT_FALSE(IsWindow(box.hWnd)) << "the box went away";
    }

    CFakeAutomation m_automation;
    CFakeWinamp m_winamp;
};

TEST_F(SlideShow, ViewerRunsTheShowAndStopsIt)
{
    m_automation.Register(5);
    StartFor(APP_VIEWER);
    std::string talk = m_dir.File("talk.ppt");

    EXPECT_EQ("Viewer 9 \"" + talk + "\" 1 -1\n", CallsFor(Play(talk)));
    EXPECT_EQ(0, ScreenSaverTimeout());
    std::string sixNexts = "NEXTNEXTNEXTNEXTNEXTNEXT";
    EXPECT_EQ("SlideShow 8\nSlideShow 8\nSlideShow 8\nSlideShow 8\nSlideShow 8\nSlideShow 8\n",
              CallsFor(sixNexts))
        << "the viewer is told of every NEXT, however many slides there are";
    EXPECT_EQ("SlideShow 9\n", CallsFor("PREV"));
    EXPECT_EQ("SlideShow 10 1 -1\n", CallsFor("STRT"));
    EXPECT_EQ(0, ScreenSaverTimeout());
    EXPECT_EQ("SlideShow 13\nViewer 10\nViewer released, 0 others alive\n", CallsFor("STOP"));
    EXPECT_EQ(SAVED_TIMEOUT, ScreenSaverTimeout());

    // STRT after STOP opens the remembered presentation in a new viewer.
    EXPECT_EQ("Viewer 9 \"" + talk + "\" 1 -1\n", CallsFor("STRT"));
    EXPECT_EQ(0, ScreenSaverTimeout());
    EXPECT_EQ("SlideShow 13\nViewer 10\nViewer released, 0 others alive\n", CallsFor("FADE"));
    EXPECT_EQ("", CallsFor("STOP")) << "nothing left to stop";
    EXPECT_EQ(SAVED_TIMEOUT, ScreenSaverTimeout());

    std::string log = CONNECTED + "Playing \"" + talk + "\"\r\n" + ACK;
    for (int i = 0; i < 6; i++)
        log += "Next track\r\n";
    log += ACK + "Previous track\r\n" + ACK + "Playing\r\n" + ACK + "Stopping\r\n" + ACK +
           "Playing\r\n" + ACK + "Stopping\r\n" + ACK + "Stopping\r\n" + ACK;
    EXPECT_TRUE(m_server.WaitForLogToBe(log)) << m_server.LogAfterBanner();
}

TEST_F(SlideShow, PowerPointStopsNextOnTheLastSlide)
{
    m_automation.Register(5);
    StartFor(APP_POWERPOINT);
    std::string talk = m_dir.File("talk.ppt");

    EXPECT_EQ(PowerPointOpens(talk, 5), CallsFor(Play(talk)));
    EXPECT_EQ(0, ScreenSaverTimeout());
    EXPECT_EQ(NextFrom(1) + NextFrom(2) + NextFrom(3) + NextFrom(4), CallsFor("NEXTNEXTNEXTNEXT"));
    EXPECT_EQ(VIEW + "SlideShowView 37 -> 5\n", CallsFor("NEXT")) << "slide 5 stays";
    EXPECT_EQ(VIEW + "SlideShowView 30\n", CallsFor("PREV"));
    EXPECT_EQ(VIEW + "SlideShowView 27\n" + NextFrom(1), CallsFor("STRTNEXT"))
        << "STRT went back to slide 1 without opening the file again";
    EXPECT_EQ("Application 29\nApplication released, 0 others alive\n", CallsFor("STOP"));
    EXPECT_EQ(SAVED_TIMEOUT, ScreenSaverTimeout());
    EXPECT_EQ("", CallsFor("NEXTPREVSTOP")) << "no PowerPoint after STOP";

    // STRT after STOP starts PowerPoint again on the remembered file, from slide 1.
    EXPECT_EQ(PowerPointOpens(talk, 5) + NextFrom(1), CallsFor("STRTNEXT"));
    EXPECT_EQ(0, ScreenSaverTimeout());
    EXPECT_EQ("Application 29\nApplication released, 0 others alive\n", CallsFor("FADE"));
    EXPECT_EQ(SAVED_TIMEOUT, ScreenSaverTimeout());
    EXPECT_EQ(PowerPointOpens(talk, 5), CallsFor("STRT"));
    EXPECT_EQ("Application 29\nApplication released, 0 others alive\n", CallsFor("STEN"));
    EXPECT_EQ(SAVED_TIMEOUT, ScreenSaverTimeout());
}

TEST_F(SlideShow, BeforeAnyPlayNothingIsCalledAndTheRepliesAreFixed)
{
    const int kinds[] = {APP_VIEWER, APP_POWERPOINT};
    for (int nKind : kinds)
    {
        SCOPED_TRACE(nKind);
        m_automation.Register(5);
        StartServer("ListenOnSocket=1\r\nDefaultApplication=" + std::to_string(nKind) + "\r\n");
        ConnectPhone(m_phone);
        EXPECT_EQ("", CallsFor("STRTNEXTPREVSTOP"));
        EXPECT_EQ(SAVED_TIMEOUT, ScreenSaverTimeout());
        const std::string fields("\x01\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x00\x00", 11);
        EXPECT_EQ(HexBytes("INFOACK" + fields), HexBytes(Reply("INFO", 18)));
        EXPECT_EQ(HexBytes("INF2ACK" + fields + std::string(1, '\0')), HexBytes(Reply("INF2", 19)));
        EXPECT_EQ(HexBytes("DINFACK" + std::string(12, '\0')), HexBytes(Reply("DINF", 19)));
        EXPECT_EQ(HexBytes(std::string("PLSTACK\x00\x00PLSTACK\x00\x00\x00", 19)),
                  HexBytes(Reply("PLST", 19)));
        ExpectNothingBeforeCheck(m_phone);
        EXPECT_EQ("", m_automation.Calls());
        EXPECT_TRUE(m_server.WaitForLogToBe(
            CONNECTED + "Playing\r\nNext track\r\nPrevious track\r\nStopping\r\n" + ACK +
            "Sent detailed track info to phone\r\nWriting playlist to phone\r\n" +
            "Couldn't get playlist! Playlist retrieval is only supported for Winamp 2.\r\n" + ACK))
            << m_server.LogAfterBanner();
        m_phone.Close();
        m_server.Kill();
    }
}

TEST_F(SlideShow, WithoutAServerEachPlayShowsOneBoxAndTheLinkGoesOn)
{
    m_winamp.Prepare("");
    ASSERT_TRUE(m_winamp.Start());
    StartServer("ListenOnSocket=1\r\nStopWhenSwitching=1\r\nExtensionsHandled3=ppt;pps\r\n"
                "ExtensionsHandled4=pptx\r\nPathToApplication0=" +
                m_winamp.ExePath() + "\r\n");
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("STRT")); // Winamp 2 is the active application
    ExpectNothingBeforeCheck(m_phone);
    m_winamp.ForgetMessages();

    std::string talk = m_dir.File("talk.ppt");
    ASSERT_TRUE(m_phone.Send(Play(talk)));
    ExpectErrorBox(VIEWER_ERROR);
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(FindServerBox(m_server.ProcessId()) == NULL) << "one box per PLAY";
    ASSERT_TRUE(m_phone.Send("NEXT"));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_EQ("WM_COMMAND 40047 0\n", JoinLines(m_winamp.Messages()))
        << "Winamp 2 was stopped once; NEXT went to the viewer's controller";

    // "pp" occurs in "ppt;pps": the viewer again, and again its box.
    ASSERT_TRUE(m_phone.Send(Play("D:\\slides.pp")));
    ExpectErrorBox(VIEWER_ERROR);
    ExpectNothingBeforeCheck(m_phone);
    ASSERT_TRUE(m_phone.Send(Play("D:\\deck.pptx")));
    ExpectErrorBox(POWERPOINT_ERROR);
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_EQ("WM_COMMAND 40047 0\n", JoinLines(m_winamp.Messages()));
    EXPECT_EQ(SAVED_TIMEOUT, ScreenSaverTimeout());

    // Untick the box and install the server: the switch from Winamp 2 tells it nothing.
    m_server.Click(IDC_STOP_WHEN_SWITCHING);
    ASSERT_TRUE(m_phone.Send(Play("D:\\song.mp3")));
    ExpectNothingBeforeCheck(m_phone);
    m_winamp.ForgetMessages();
    m_automation.Register(5);
    EXPECT_EQ("Viewer 9 \"" + talk + "\" 1 -1\n", CallsFor(Play(talk)));
    EXPECT_EQ("", JoinLines(m_winamp.Messages()));

    EXPECT_TRUE(m_server.WaitForLogToBe(
        CONNECTED + "Playing\r\n" + ACK + "Stopping\r\n" + "Playing \"" + talk + "\"\r\n" + ACK +
        "Next track\r\n" + ACK + "Playing \"D:\\slides.pp\"\r\n" + ACK +
        "Stopping\r\nPlaying \"D:\\deck.pptx\"\r\n" + ACK + "Playing \"D:\\song.mp3\"\r\n" + ACK +
        "Playing \"" + talk + "\"\r\n" + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(SlideShow, AFailedCallEndsOnlyItsOperationAndIsLogged)
{
    m_automation.Register(3);
    StartServer("ListenOnSocket=1\r\nExtensionsHandled3=pps\r\nExtensionsHandled4=ppt\r\n");
    ConnectPhone(m_phone);
    std::string missing = m_dir.File("missing.ppt");
    std::string talk = m_dir.File("talk.ppt");

    EXPECT_EQ("Application 44 -1\nApplication 7\nPresentations 15 \"" + missing +
                  "\" 0 0 1 -> 0x80004005\n",
              CallsFor(Play(missing)));
    EXPECT_EQ(SAVED_TIMEOUT, ScreenSaverTimeout());
    EXPECT_EQ("Application 11 -> 0x80004005\n", CallsFor("NEXT"));
    EXPECT_EQ(PowerPointOpens(talk, 3), CallsFor(Play(talk))) << "the same PowerPoint goes on";
    EXPECT_EQ(0, ScreenSaverTimeout());

    // A name too long to remember is played but not reopened by a later STRT.
    std::string longName = m_dir.File(std::string(300, 'x') + ".ppt");
    CallsFor(Play(longName));
    EXPECT_EQ("Application 29\nApplication released, 0 others alive\n", CallsFor("STOP"));
    EXPECT_EQ("", CallsFor("STRT"));

    std::string missingShow = m_dir.File("missing.pps");
    EXPECT_EQ("Viewer 9 \"" + missingShow + "\" 1 -1 -> 0x80004005\n", CallsFor(Play(missingShow)));
    EXPECT_EQ("", CallsFor("STRT")) << "the viewer remembers only a show it opened";
    EXPECT_EQ(SAVED_TIMEOUT, ScreenSaverTimeout());

    EXPECT_TRUE(m_server.WaitForLogToBe(
        CONNECTED + "Playing \"" + missing + "\"\r\n" +
        "PowerPoint: couldn't show the presentation (Presentations.Open failed with "
        "0x80004005)\r\n" +
        ACK +
        "PowerPoint: couldn't go to the next slide (Application.ActivePresentation failed with "
        "0x80004005)\r\n" +
        "Next track\r\n" + ACK + "Playing \"" + talk + "\"\r\n" + ACK + "Playing \"" + longName +
        "\"\r\n" +
        "PowerPoint: couldn't show the presentation (Presentations.Open failed with "
        "0x80004005)\r\n" +
        ACK + "Stopping\r\n" + ACK + "Playing\r\n" + ACK + "Playing \"" + missingShow + "\"\r\n" +
        "PowerPoint Viewer: couldn't show the presentation (Viewer.OpenShow failed with "
        "0x80004005)\r\n" +
        ACK + "Playing\r\n" + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(SlideShow, AClosedApplicationIsLetGoAndTheNextPlayStartsItAgain)
{
    m_automation.Register(3);
    StartServer("ListenOnSocket=1\r\nExtensionsHandled3=pps\r\nExtensionsHandled4=ppt\r\n");
    ConnectPhone(m_phone);
    m_dir.WriteFile("talk.pps", "slides");
    const std::string ppt = m_dir.File("talk.ppt"), pps = m_dir.File("talk.pps");
    // RPC_E_DISCONNECTED, RPC_S_SERVER_UNAVAILABLE as an HRESULT, CO_E_OBJNOTCONNECTED.
    for (std::string code : {"0x80010108", "0x800706BA", "0x800401FD"})
    {
        EXPECT_EQ(PowerPointOpens(ppt, 3), CallsFor(Play(ppt)));
        m_dir.WriteFile(GONE, code);
        EXPECT_EQ("Application 11 -> " + code + "\nApplication released, 0 others alive\n",
                  CallsFor("NEXT"));
        EXPECT_EQ(SAVED_TIMEOUT, ScreenSaverTimeout()) << "no show runs any more";
        EXPECT_EQ("Viewer 9 \"" + pps + "\" 1 -1\n", CallsFor(Play(pps)));
        m_dir.WriteFile(GONE, code);
        EXPECT_EQ("SlideShow 8 -> " + code + "\nViewer released, 0 others alive\n",
                  CallsFor("NEXT"));
    }
    EXPECT_TRUE(m_server.WaitForLog(
        "PowerPoint Viewer: couldn't go to the next slide (SlideShow.Next failed with 0x800401FD): "
        "PowerPoint Viewer is no longer running, the next PLAY starts it again\r\nNext track\r\n"))
        << m_server.LogAfterBanner();
}

TEST_F(SlideShow, AViewerOpenWithoutAShowLeavesNoShowToDrive)
{
    m_automation.Register(5);
    StartFor(APP_VIEWER);
    m_dir.WriteFile("empty.ppt", "");
    CallsFor(Play(m_dir.File("talk.ppt")));
    EXPECT_EQ("Viewer 9 \"" + m_dir.File("empty.ppt") + "\" 1 -1 -> no show\n",
              CallsFor(Play(m_dir.File("empty.ppt"))));
    EXPECT_EQ("", CallsFor("NEXT")) << "the earlier show is not driven";
}

TEST_F(SlideShow, TheSerialAndTcpLinksDriveOneShowAndExitLeavesItOpen)
{
    m_automation.Register(4);
    StartServer("CommPort=COM3\r\nListenOnSocket=1\r\nExtensionsHandled4=ppt\r\n"
                "ExtensionsHandled3=\r\n");
    ConnectPhone(m_phone);
    CPhoneClient serialPhone;
    ASSERT_TRUE(serialPhone.OpenComPort("COM13"));
    std::string talk = m_dir.File("talk.ppt");

    EXPECT_EQ(PowerPointOpens(talk, 4), CallsFor(Play(talk), m_phone));
    EXPECT_EQ(NextFrom(1), CallsFor("NEXT", serialPhone));
    EXPECT_EQ(NextFrom(2), CallsFor("NEXT", m_phone));
    EXPECT_EQ(VIEW + "SlideShowView 30\n", CallsFor("PREV", serialPhone));
    EXPECT_EQ(0, ScreenSaverTimeout());

    // The end of the server lets go of PowerPoint without a word to it.
    m_automation.ForgetCalls();
    m_server.Click(IDC_EXIT_BUTTON);
    DWORD nExitCode = 1;
    ASSERT_TRUE(m_server.WaitForExit(WAIT_LIMIT_MS, &nExitCode));
    EXPECT_EQ("Application released, 0 others alive\n", m_automation.Calls());
    EXPECT_EQ(SAVED_TIMEOUT, ScreenSaverTimeout());
}

TEST_F(SlideShow, ExitRestoresTheTimeoutsReadAtStartEvenWithoutAShow)
{
    StartServer();
    SetScreenSaverTimeout(555);
    m_server.Click(IDC_EXIT_BUTTON);
    DWORD nExitCode = 1;
    ASSERT_TRUE(m_server.WaitForExit(WAIT_LIMIT_MS, &nExitCode));
    EXPECT_EQ(SAVED_TIMEOUT, ScreenSaverTimeout());
}

// Each PLAY chooses, switches and plays as one step: with the serial and the TCP
// link racing, every file reaches the controller of its own kind.
TEST_F(SlideShow, TwoLinksRacingPlayNeverMixTheKinds)
{
    m_automation.Register(5);
    m_winamp.Prepare("");
    ASSERT_TRUE(m_winamp.Start());
    StartServer("ListenOnSocket=1\r\nCommPort=COM3\r\nStopWhenSwitching=1\r\n"
                "ExtensionsHandled3=ppt\r\nPathToApplication0=" +
                m_winamp.ExePath() + "\r\n");
    ConnectPhone(m_phone);
    CPhoneClient serialPhone;
    ASSERT_TRUE(serialPhone.OpenComPort("COM13"));
    const int RACES = 300;
    std::string talk = m_dir.File("talk.ppt"), songs, talks;
    for (int i = 0; i < RACES; i++)
    {
        songs += Play("D:\\song" + std::to_string(i) + ".mp3");
        talks += Play(talk);
    }
    ASSERT_TRUE(m_phone.Send(songs));
    ASSERT_TRUE(serialPhone.Send(talks));
    ExpectNothingBeforeCheck(m_phone);
    ExpectNothingBeforeCheck(serialPhone);

    // A file sent to the other kind's controller would change one of these counts.
    std::string calls = m_automation.Calls();
    EXPECT_EQ(RACES, CountOccurrences(JoinLines(m_winamp.Messages()), "WM_COPYDATA"));
    EXPECT_EQ(RACES, CountOccurrences(calls, "Viewer 9 "));
    EXPECT_EQ(RACES, CountOccurrences(calls, "Viewer 9 \"" + talk + "\""));
}

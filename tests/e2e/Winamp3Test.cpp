// The phone driving the fake Winamp 3: the key presses and clicks it receives,
// the status read from its caption, and the command lines it is started with.
#include "PlayerTest.h"

static const FakePlayerKind WINAMP3 = {1, "winamp3", "FakeWinamp3", "STUDIO", "mp3;wav"};

// One press: key-down with the scan code in bits 16-23 and a repeat count of 1,
// then key-up with the previous-state and transition bits set as well.
static std::string Press(const std::string& key, const std::string& scan)
{
    return "STUDIO WM_KEYDOWN 0x" + key + " 0x" + scan + "0001\n" + "STUDIO WM_KEYUP 0x" + key +
           " 0xC0" + scan + "0001\n";
}

static const std::string CLICK_AT_348_8 =
    "root WM_LBUTTONDOWN 0x1 0x8015C\nroot WM_LBUTTONUP 0x0 0x8015C\n";

static unsigned long DecodeBE32(const std::string& bytes)
{
    unsigned long nValue = 0;
    for (char c : bytes)
        nValue = (nValue << 8) | static_cast<unsigned char>(c);
    return nValue;
}

class Winamp3 : public CPlayerTest
{
protected:
    Winamp3() : CPlayerTest(WINAMP3) {}

    void SetCaption(const std::string& caption)
    {
        HWND hStudio = FindWindowA("STUDIO", NULL);
        ASSERT_TRUE(hStudio != NULL);
        SendMessageA(hStudio, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    }

    // The INF2 reply's fields after the tag: state, length, position, shuffle, repeat.
    std::string Info2Fields(size_t nTitleLength)
    {
        std::string reply = ReplyTo("INF2", 19 + nTitleLength);
        EXPECT_EQ("INF2ACK", reply.substr(0, 7));
        return reply.size() > 7 ? reply.substr(7) : std::string();
    }
};

TEST_F(Winamp3, EachCommandSendsItsKeysAndNothingMore)
{
    StartWith("");
    struct Case
    {
        std::string command, messages, logLine;
    } cases[] = {
        {"STRT", Press("58", "2D"), "Playing\r\n"},
        {"PAUS", Press("43", "2E"), "Pause\r\n"},
        {"STOP", Press("56", "2F"), "Stopping\r\n"},
        {"FADE", Press("56", "2F"), "Stopping\r\n"},
        {"STEN", Press("56", "2F"), "Stopping\r\n"},
        {"NEXT", Press("42", "30"), "Next track\r\n"},
        {"PREV", Press("5A", "2C"), "Previous track\r\n"},
        {"FFWD", Press("27", "4D"), "Fast forward\r\n"},
        {"RWND", Press("25", "4B"), "Rewind\r\n"},
        {std::string("SHFL\x01", 5), Press("53", "1F"), "Changing shuffle to on\r\n"},
        {std::string("SHFL\x00", 5), Press("53", "1F"), "Changing shuffle to off\r\n"},
        {std::string("REPT\x00", 5), Press("52", "13"), "Changing repeat to off\r\n"},
        {std::string("VOLM\xC8", 5), "", "Set volume to 78%\r\n"},
        {std::string("VOLM\x00", 5), Press("28", "50") + Press("28", "50"), "Set volume to 0%\r\n"},
        {std::string("VOLM\xFF", 5), Press("26", "48") + Press("26", "48"),
         "Set volume to 100%\r\n"},
        {"FULL", CLICK_AT_348_8 + CLICK_AT_348_8, "Full screen\r\n"},
        {std::string("SLCT\x00\x02", 6), "", "Selected song 2 in playlist\r\n"},
        {std::string("SEEK\x00\x00\x00\x3C", 8), "", "Set seek to 60 seconds\r\n"},
        {"RMAL", "", "Removed all songs from playlist\r\n"},
    };
    std::string expectedLog = CONNECTED;
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.messages, MessagesFor(c.command)) << c.command;
        expectedLog += c.logLine + ACK;
    }
    EXPECT_TRUE(m_server.WaitForLogToBe(expectedLog)) << m_server.LogAfterBanner();
}

TEST_F(Winamp3, FullScreenFallsBackToAnUntitledTopLevelRootWindow)
{
    StartWith("root=top\n");
    EXPECT_EQ(CLICK_AT_348_8 + CLICK_AT_348_8, MessagesFor("FULL"));
}

TEST_F(Winamp3, TheCaptionGivesStateLengthAndTitle)
{
    StartWith("");
    // Never started from the phone: the tracked state is stopped and nothing is counted.
    const std::string NO_TIME("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8);
    const std::string NO_POSITION("\xFF\xFF\xFF\xFF", 4);
    struct Case
    {
        std::string caption, fields, title;
    } cases[] = {
        {"Artist - Song (3:45) (playing)", std::string("\x01\0\0\0\xE1\0\0\0\0", 9),
         "Artist - Song "},
        {"Song (Remix) (paused)", std::string("\x03\0\0\0\0", 5) + NO_POSITION, "Song "},
        {"Song (playing)", "\x01" + NO_TIME, "Song "},
        {"Song without brackets", std::string(1, '\0') + NO_TIME, ""},
        {"(3:45) (playing)", std::string("\x01\0\0\0\xE1\0\0\0\0", 9), ""},
        {"Song (playing) ", std::string(1, '\0') + NO_TIME, ""},
        {"Song (stopped)", std::string(1, '\0') + NO_TIME, "Song "},
    };
    for (const Case& c : cases)
    {
        SetCaption(c.caption);
        std::string expected = c.fields + std::string(2, '\0') + c.title + std::string(1, '\0');
        EXPECT_EQ(HexBytes(expected), HexBytes(Info2Fields(c.title.size()))) << c.caption;
    }
    SetCaption("Artist - Song (3:45) (playing)");
    EXPECT_EQ(HexBytes(std::string("INFOACK\x01\0\0\0\xE1\0\0\0\0\0\0Artist - Song ", 32)),
              HexBytes(ReplyTo("INFO", 32)));
    m_fake.ForgetMessages();
    Info2Fields(14);
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_EQ("STUDIO WM_GETTEXT 0x100\n", JoinLines(m_fake.Messages()));
}

TEST_F(Winamp3, ThePositionCountsTheSecondsSincePlay)
{
    StartWith("caption=Artist - Song (3:45) (playing)\n");
    MessagesFor("STRT");
    // The length is known from the first status on; only then do seconds count.
    EXPECT_EQ(HexBytes(std::string("\x01\0\0\0\xE1\0\0\0\0", 9)),
              HexBytes(Info2Fields(14).substr(0, 9)));
    int nPosition = 0;
    for (DWORD nStart = GetTickCount(); nPosition < 2 && GetTickCount() - nStart < 30000;)
    {
        Sleep(250);
        std::string fields = Info2Fields(14);
        ASSERT_EQ(HexBytes(std::string("\x01\0\0\0\xE1", 5)), HexBytes(fields.substr(0, 5)));
        nPosition = static_cast<int>(DecodeBE32(fields.substr(5, 4)));
    }
    EXPECT_GE(nPosition, 2);
    EXPECT_LT(nPosition, 225);
    ExpectNothingBeforeCheck(m_phone);
}

TEST_F(Winamp3, PlayAndAddStartItWithTheFileOnItsCommandLine)
{
    StartWith("");
    const std::string song = "C:\\music\\Song One.mp3";
    const std::string played = "start /play \"" + song + "\"";
    EXPECT_EQ(played + "\n", MessagesUpTo("PLAY" + EncodeName(song), played));
    // The caption has no state word: the phone sees the state the controller keeps.
    EXPECT_EQ('\x01', Info2Fields(0)[0]);

    const std::string added = "start \"" + m_fake.ExePath() + "\" /add \"" + song + "\"";
    EXPECT_EQ(added + "\n", MessagesUpTo("LADD" + EncodeName(song), added));
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Playing \"" + song + "\"\r\n" + ACK +
                                        "Adding \"" + song + "\" to playlist\r\n" + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(Winamp3, APathThatDoesNotFitTheCommandLineStartsNothing)
{
    StartWith("");
    // "/play \"" and "\"" leave 247 of the 255 characters for the path.
    const std::string tooLong = "C:\\" + std::string(241, 'a') + ".mp3";
    const std::string fits = "C:\\" + std::string(240, 'b') + ".mp3";
    ASSERT_EQ(248u, tooLong.size());
    m_fake.ForgetMessages();
    ASSERT_TRUE(m_phone.Send("PLAY" + EncodeName(tooLong)));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_EQ('\x00', Info2Fields(0)[0]) << "nothing was started, so nothing plays";
    // Had the first been started, its line would be in the record before this one.
    const std::string played = "start /play \"" + fits + "\"";
    ASSERT_TRUE(m_phone.Send("PLAY" + EncodeName(fits)));
    ExpectNothingBeforeCheck(m_phone);
    ASSERT_TRUE(m_fake.WaitForMessage(played));
    EXPECT_EQ("STUDIO WM_GETTEXT 0x100\n" + played + "\n", JoinLines(m_fake.Messages()));
    EXPECT_TRUE(m_server.WaitForLogToBe(
        CONNECTED + "Playing \"" + tooLong + "\"\r\n" +
        "Couldn't start Winamp 3: the file path is too long for its command line\r\n" + ACK +
        "Playing \"" + fits + "\"\r\n" + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(Winamp3, ANameWithAQuoteIsNotPutOnTheCommandLine)
{
    StartWith("");
    const std::string name = "C:\\a.mp3\" /quit \"x.mp3";
    EXPECT_EQ("", MessagesFor("LADD" + EncodeName(name)));
    EXPECT_TRUE(m_server.WaitForLogToBe(
        CONNECTED + "Adding \"" + name + "\" to playlist\r\n" +
        "Couldn't start Winamp 3: the file path holds a double quote\r\n" + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(Winamp3, AStopStartsItWhenTickedAndThenPressesStop)
{
    StartWith("", "StartWinampAutomatically=1\r\n", false);
    // Started with no command line, it gets its quoted path as one.
    EXPECT_EQ("start \"" + m_fake.ExePath() + "\"\n" + Press("56", "2F"), MessagesFor("STOP"));
}

TEST_F(Winamp3, AnApplicationPathLongerThan255CharactersIsNotStarted)
{
    const std::string longPath = "C:\\" + std::string(246, 'w') + "\\w3.exe";
    ASSERT_EQ(256u, longPath.size());
    StartServer("ListenOnSocket=1\r\nDefaultApplication=1\r\nStartWinampAutomatically=1\r\n"
                "PathToApplication1=" +
                longPath + "\r\n");
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("STOPSTOP"));
    ExpectNothingBeforeCheck(m_phone);
    // Said once for the path, not again on every command.
    EXPECT_TRUE(m_server.WaitForLogToBe(
        CONNECTED +
        "Couldn't start Winamp 3: its application path is longer than 255 characters\r\n" +
        "Stopping\r\nStopping\r\n" + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(Winamp3, NoDetailsAndNoPlaylist)
{
    StartWith("");
    ExpectNoDetailsAndNoPlaylist();
}

// The phone driving the fake Windows Media Player: the menu commands it
// receives, the command line it is started with and the state the phone sees.
#include "PlayerTest.h"

static const FakePlayerKind MEDIA_PLAYER = {2, "wmp", "FakeMediaPlayer", "WMPlayerApp", "wma;mp3"};

static std::string Command(const std::string& id)
{
    return "WMPlayerApp WM_COMMAND 0x" + id + " 0x0\n";
}

class MediaPlayer : public CPlayerTest
{
protected:
    MediaPlayer() : CPlayerTest(MEDIA_PLAYER) {}

    // The INF2 reply has no title here: 19 bytes; returns its state byte.
    int StateAfter(const std::string& command)
    {
        if (!command.empty())
            MessagesFor(command);
        std::string reply = ReplyTo("INF2", 19);
        EXPECT_EQ(HexBytes(std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\0\0\0", 11)),
                  HexBytes(reply.substr(8)));
        return reply.size() > 7 ? static_cast<unsigned char>(reply[7]) : -1;
    }
};

TEST_F(MediaPlayer, EachCommandSendsItsIdentifierAndNothingMore)
{
    StartWith("");
    const std::string LOUDER = Command("1802F");
    struct Case
    {
        std::string command, messages, logLine;
    } cases[] = {
        {"STRT", Command("18028"), "Playing\r\n"},
        {"PAUS", Command("18028"), "Pause\r\n"},
        {"STOP", Command("18029"), "Stopping\r\n"},
        {"FADE", Command("18029"), "Stopping\r\n"},
        {"STEN", Command("18029"), "Stopping\r\n"},
        {"NEXT", Command("1802B"), "Next track\r\n"},
        {"PREV", Command("1802A"), "Previous track\r\n"},
        {"FFWD", "", "Fast forward\r\n"},
        {"RWND", "", "Rewind\r\n"},
        {std::string("SHFL\x01", 5), Command("1804A"), "Changing shuffle to on\r\n"},
        {std::string("REPT\x00", 5), Command("1804B"), "Changing repeat to off\r\n"},
        {"FULL", Command("1800E"), "Full screen\r\n"},
        {std::string("SLCT\x00\x02", 6), "", "Selected song 2 in playlist\r\n"},
        {std::string("SEEK\x00\x00\x00\x3C", 8), "", "Set seek to 60 seconds\r\n"},
        {"RMAL", "", "Removed all songs from playlist\r\n"},
        // The estimate starts at 128: 130 lies in its band (125 to 150).
        {std::string("VOLM\x82", 5), "", "Set volume to 50%\r\n"},
        // Each 255 moves it by 25: 153, 178, 203, 228, 253, then 255 is in the band.
        {std::string("VOLM\xFF", 5), LOUDER, "Set volume to 100%\r\n"},
        {std::string("VOLM\xFF", 5), LOUDER, "Set volume to 100%\r\n"},
        {std::string("VOLM\xFF", 5), LOUDER, "Set volume to 100%\r\n"},
        {std::string("VOLM\xFF", 5), LOUDER, "Set volume to 100%\r\n"},
        {std::string("VOLM\xFF", 5), LOUDER, "Set volume to 100%\r\n"},
        {std::string("VOLM\xFF", 5), "", "Set volume to 100%\r\n"},
        {std::string("VOLM\x00", 5), Command("18030"), "Set volume to 0%\r\n"},
    };
    std::string expectedLog = CONNECTED;
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.messages, MessagesFor(c.command)) << HexBytes(c.command);
        expectedLog += c.logLine + ACK;
    }
    EXPECT_TRUE(m_server.WaitForLogToBe(expectedLog)) << m_server.LogAfterBanner();
}

TEST_F(MediaPlayer, ThePhoneSeesTheStateTheControllerKeeps)
{
    StartWith("");
    EXPECT_EQ(0, StateAfter(""));
    const std::string clip = "C:\\music\\clip one.wma";
    const std::string played = "start /play \"" + clip + "\"";
    // Adding is not something the player can be told: LADD starts nothing.
    EXPECT_EQ(played + "\n",
              MessagesUpTo("LADD" + EncodeName(clip) + "PLAY" + EncodeName(clip), played));
    EXPECT_EQ(1, StateAfter(""));
    EXPECT_EQ(3, StateAfter("PAUS"));
    EXPECT_EQ(1, StateAfter("PAUS"));
    EXPECT_EQ(3, StateAfter("STRT"));
    EXPECT_EQ(0, StateAfter("STOP"));
    EXPECT_EQ(1, StateAfter("STRT"));
    EXPECT_EQ(HexBytes(std::string("INFOACK\x01\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\0\0", 18)),
              HexBytes(ReplyTo("INFO", 18)));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLog(CONNECTED + "Adding \"" + clip + "\" to playlist\r\n" +
                                    "Playing \"" + clip + "\"\r\n" + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(MediaPlayer, APathThatDoesNotFitTheCommandLineStartsNothing)
{
    StartWith("");
    const std::string tooLong = "C:\\" + std::string(241, 'a') + ".wma";
    const std::string fits = "C:\\" + std::string(240, 'b') + ".wma";
    ASSERT_EQ(248u, tooLong.size());
    m_fake.ForgetMessages();
    ASSERT_TRUE(m_phone.Send("PLAY" + EncodeName(tooLong)));
    EXPECT_EQ(0, StateAfter(""));
    const std::string played = "start /play \"" + fits + "\"";
    ASSERT_TRUE(m_phone.Send("PLAY" + EncodeName(fits)));
    ASSERT_TRUE(m_fake.WaitForMessage(played));
    EXPECT_EQ(played + "\n", JoinLines(m_fake.Messages()));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe(
        CONNECTED + "Playing \"" + tooLong + "\"\r\n" +
        "Couldn't start Windows Media Player: the file path is too long for its command line\r\n" +
        "Playing \"" + fits + "\"\r\n" + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(MediaPlayer, NoDetailsAndNoPlaylist)
{
    StartWith("");
    ExpectNoDetailsAndNoPlaylist();
}

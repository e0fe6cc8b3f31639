// The phone driving the fake Winamp 2: the messages it receives, in order, the
// replies on the wire and the lines in the event log.
#include "FakeWinamp.h"
#include "ServerTest.h"

static const std::string CONNECTED = "Client connected on Internet socket\r\n";
static const std::string ACK = "Sent ACK to phone\r\n";
static const std::string VERSION_QUERY = "WM_USER 0 0\n"; // every EnsureRunning that finds it

static const std::string PLAYING_SONG = "caption=Song - Winamp\nstate=1\nlength=180\n"
                                        "position_ms=65000\nshuffle=1\nrepeat=0\n";

class Winamp2 : public CServerTest
{
protected:
    Winamp2() : m_winamp(m_dir) {}

    void StartWith(const std::string& fakeConfig, const std::string& settings = "")
    {
        m_winamp.Prepare(fakeConfig);
        ASSERT_TRUE(m_winamp.Start());
        StartServer("ListenOnSocket=1\r\nPathToApplication0=" + m_winamp.ExePath() + "\r\n" +
                    settings);
        ConnectPhone(m_phone);
    }

    // Sends the bytes; once a CHCK after them is answered, all their messages are in.
    std::string MessagesFor(const std::string& bytes)
    {
        m_winamp.ForgetMessages();
        EXPECT_TRUE(m_phone.Send(bytes));
        ExpectNothingBeforeCheck(m_phone);
        return JoinLines(m_winamp.Messages());
    }

    std::string ReplyTo(const std::string& command, size_t nSize)
    {
        EXPECT_TRUE(m_phone.Send(command));
        std::string reply;
        EXPECT_TRUE(m_phone.Receive(nSize, reply, REPLY_TIMEOUT_MS)) << HexBytes(reply);
        return reply;
    }

    CFakeWinamp m_winamp;
};

TEST_F(Winamp2, InfoIsTwentyTwoBytesAndAsksInOrder)
{
    StartWith(PLAYING_SONG);
    m_winamp.ForgetMessages();
    std::string reply = ReplyTo("INFO", 22);
    EXPECT_EQ(HexBytes(std::string("INFOACK\x01\x00\x00\x00\xB4\x00\x00\x00\x41\x01\x00Song", 22)),
              HexBytes(reply));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_EQ(VERSION_QUERY + "WM_USER 0 104\nWM_USER 1 105\nWM_USER 0 105\nWM_USER 0 250\n"
                              "WM_USER 0 251\nWM_GETTEXT 256\n",
              JoinLines(m_winamp.Messages()));
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + ACK)) << m_server.LogAfterBanner();
}

TEST_F(Winamp2, Info2EndsTheTitleWithAZeroByte)
{
    StartWith(PLAYING_SONG);
    std::string reply = ReplyTo("INF2", 23);
    EXPECT_EQ(
        HexBytes(std::string("INF2ACK\x01\x00\x00\x00\xB4\x00\x00\x00\x41\x01\x00Song\x00", 23)),
        HexBytes(reply));
    ExpectNothingBeforeCheck(m_phone);
}

TEST_F(Winamp2, AnEmptyTitleGivesEighteenAndNineteenBytes)
{
    StartWith("caption= - Winamp\nstate=3\nlength=-1\nposition_ms=1999\n");
    const std::string fields("\x03\xFF\xFF\xFF\xFF\x00\x00\x00\x01\x00\x00", 11);
    EXPECT_EQ(HexBytes("INF2ACK" + fields + std::string(1, '\0')), HexBytes(ReplyTo("INF2", 19)));
    EXPECT_EQ(HexBytes("INFOACK" + fields), HexBytes(ReplyTo("INFO", 18)));
    ExpectNothingBeforeCheck(m_phone);
}

TEST_F(Winamp2, TitleKeepsThePlaylistNumberAndStopsAtTheFirstSuffix)
{
    StartWith("caption=12. Artist - Title - Winamp - Winamp\nlength=10\n");
    std::string reply = ReplyTo("INF2", 19 + 18);
    EXPECT_EQ("12. Artist - Title", reply.substr(18, 18));
    EXPECT_EQ('\0', reply[36]);
    ExpectNothingBeforeCheck(m_phone);
}

TEST_F(Winamp2, WaitingInfoAsksAgainUntilTheLengthIsKnown)
{
    StartWith("caption=x - Winamp\nlength=200\nunknown_length_rounds=3\n");
    m_winamp.ForgetMessages();
    std::string reply = ReplyTo("INFO", 19);
    EXPECT_EQ(HexBytes(std::string("\x00\x00\x00\xC8", 4)), HexBytes(reply.substr(8, 4)));
    ExpectNothingBeforeCheck(m_phone);
    std::string messages = JoinLines(m_winamp.Messages());
    EXPECT_EQ(4, CountOccurrences(messages, "WM_USER 1 105\n")) << messages;
}

TEST_F(Winamp2, NewerVersionsReportTheLengthInMicroseconds)
{
    StartWith("caption=x\nlength=180000000\nversion=0x3000\n");
    std::string reply = ReplyTo("INF2", 20);
    EXPECT_EQ(HexBytes(std::string("\x00\x00\x00\xB4", 4)), HexBytes(reply.substr(8, 4)));
    ExpectNothingBeforeCheck(m_phone);
}

TEST_F(Winamp2, PlaylistLengthSendsTheLowestSixteenBitsAndLogsAll)
{
    StartWith("list_length=70000\n");
    EXPECT_EQ(HexBytes(std::string("PLENACK\x11\x70", 9)), HexBytes(ReplyTo("PLEN", 9)));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Returned playlist length: 70000\r\n" + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(Winamp2, DetailedInfoIsBitRateSampleRateChannels)
{
    StartWith("bit_rate=128\nsample_rate=44\nchannels=2\n");
    m_winamp.ForgetMessages();
    EXPECT_EQ(HexBytes(std::string("DINFACK\x00\x00\x00\x80\x00\x00\x00\x2C\x00\x00\x00\x02", 19)),
              HexBytes(ReplyTo("DINF", 19)));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_EQ(VERSION_QUERY + "WM_USER 0 126\nWM_USER 1 126\nWM_USER 2 126\n",
              JoinLines(m_winamp.Messages()));
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Sent detailed track info to phone\r\n" + ACK));
}

TEST_F(Winamp2, PlaylistSendsTheFileWithItsIndexAndAZeroByte)
{
    std::string playlist;
    for (int i = 0; i < 10; i++)
        playlist += "song" + std::to_string(i) + ".mp3\n"; // 10 lines of 10 bytes
    ASSERT_EQ(100u, playlist.size());
    m_dir.WriteFile("source.m3u", playlist);
    StartWith("playlist_index=3\nm3u_source=" + m_dir.File("source.m3u") + "\n");
    std::string reply = ReplyTo("PLST", 110);
    EXPECT_EQ(HexBytes(std::string("PLSTACK\x00\x03", 9) + playlist + std::string(1, '\0')),
              HexBytes(reply));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Writing playlist to phone\r\n" +
                                        "Finished writing playlist\r\n" + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(Winamp2, NoPlaylistFileGivesTheDoubleHeader)
{
    StartWith("playlist_index=3\n");
    EXPECT_EQ(HexBytes(std::string("PLSTACK\x00\x03PLSTACK\x00\x03\x00", 19)),
              HexBytes(ReplyTo("PLST", 19)));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe(
        CONNECTED + "Writing playlist to phone\r\n" +
        "Couldn't get playlist! Playlist retrieval is only supported for Winamp 2.\r\n" + ACK));
}

TEST_F(Winamp2, VolumeSendsTheRawByteAndLogsThePercentage)
{
    StartWith("");
    EXPECT_EQ(VERSION_QUERY + "WM_USER 128 122\n", MessagesFor(std::string("VOLM\x80", 5)));
    EXPECT_EQ(VERSION_QUERY + "WM_USER 255 122\n", MessagesFor(std::string("VOLM\xFF", 5)));
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Set volume to 50%\r\n" + ACK +
                                        "Set volume to 100%\r\n" + ACK));
}

TEST_F(Winamp2, SelectPicksTheEntryAndPressesPlay)
{
    StartWith("");
    EXPECT_EQ(VERSION_QUERY + "WM_USER 258 121\nWM_COMMAND 40045 0\n",
              MessagesFor(std::string("SLCT\x01\x02", 6)));
    EXPECT_TRUE(m_server.WaitForLog("Selected song 258 in playlist\r\n"));
}

// Before the start is the start; past what the message carries is its end, not a wrap.
TEST_F(Winamp2, SeekSendsClampedMillisecondsAndLogsASignedValue)
{
    StartWith("");
    EXPECT_EQ(VERSION_QUERY + "WM_USER 300000 106\n",
              MessagesFor(std::string("SEEK\x00\x00\x01\x2C", 8)));
    EXPECT_EQ(VERSION_QUERY + "WM_USER 0 106\n",
              MessagesFor(std::string("SEEK\xFF\xFF\xFF\xFF", 8)));
    EXPECT_EQ(VERSION_QUERY + "WM_USER 2147483000 106\n",
              MessagesFor(std::string("SEEK\x00\x41\x89\x38", 8)));
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Set seek to 300 seconds\r\n" + ACK +
                                        "Set seek to -1 seconds\r\n" + ACK +
                                        "Set seek to 4294968 seconds\r\n" + ACK));
}

TEST_F(Winamp2, TheThreeStopsPressTheirButtons)
{
    StartWith("");
    EXPECT_EQ(VERSION_QUERY + "WM_COMMAND 40047 0\n", MessagesFor("STOP"));
    EXPECT_EQ(VERSION_QUERY + "WM_COMMAND 40147 0\n", MessagesFor("FADE"));
    EXPECT_EQ(VERSION_QUERY + "WM_COMMAND 40157 0\n", MessagesFor("STEN"));
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Stopping\r\n" + ACK + "Stopping\r\n" + ACK +
                                        "Stopping\r\n" + ACK));
}

TEST_F(Winamp2, FadeAtVersion3000IsAPlainStop)
{
    StartWith("version=0x3000\n");
    EXPECT_EQ(VERSION_QUERY + "WM_COMMAND 40047 0\n", MessagesFor("FADE"));
}

TEST_F(Winamp2, TheOtherButtonsAndSettings)
{
    StartWith("");
    struct Case
    {
        std::string command, messages, logLine;
    } cases[] = {
        {"STRT", "WM_COMMAND 40045 0\n", "Playing\r\n"},
        {"PAUS", "WM_COMMAND 40046 0\n", "Pause\r\n"},
        {"NEXT", "WM_COMMAND 40048 0\n", "Next track\r\n"},
        {"PREV", "WM_COMMAND 40044 0\n", "Previous track\r\n"},
        {"FFWD", "WM_COMMAND 40060 0\n", "Fast forward\r\n"},
        {"RWND", "WM_COMMAND 40061 0\n", "Rewind\r\n"},
        {"RMAL", "WM_USER 0 101\n", "Removed all songs from playlist\r\n"},
        {"FULL", "", "Full screen\r\n"},
        {std::string("SHFL\x02", 5), "WM_USER 2 252\n", "Changing shuffle to on\r\n"},
        {std::string("SHFL\x00", 5), "WM_USER 0 252\n", "Changing shuffle to off\r\n"},
        {std::string("REPT\x01", 5), "WM_USER 1 253\n", "Changing repeat to on\r\n"},
    };
    std::string expectedLog = CONNECTED;
    for (const Case& c : cases)
    {
        EXPECT_EQ(VERSION_QUERY + c.messages, MessagesFor(c.command)) << c.command;
        expectedLog += c.logLine + ACK;
    }
    EXPECT_TRUE(m_server.WaitForLogToBe(expectedLog)) << m_server.LogAfterBanner();
}

TEST_F(Winamp2, AnUnknownCommandStillMakesSureTheApplicationRuns)
{
    StartWith("");
    EXPECT_EQ(VERSION_QUERY, MessagesFor("play"));
    m_winamp.ForgetMessages();
    EXPECT_EQ(9u, ReplyTo("VERS", 9).size());
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_EQ("", JoinLines(m_winamp.Messages())) << "VERS and CHCK never do";
}

TEST_F(Winamp2, AStudioWindowIsTakenWhenThereIsNoWinamp2Window)
{
    StartWith("class=STUDIO\n");
    EXPECT_EQ(VERSION_QUERY + "WM_USER 64 122\n", MessagesFor(std::string("VOLM\x40", 5)));
}

TEST_F(Winamp2, ACutOffSeekLogsItsFailureAndCallsNothing)
{
    StartWith("");
    m_winamp.ForgetMessages();
    ASSERT_TRUE(m_phone.Send(std::string("SEEK\x00\x01", 6)));
    Sleep(200);
    m_phone.Close();
    ASSERT_TRUE(m_server.WaitForLog("Client has closed connection\r\n"));
    std::string log = m_server.LogAfterBanner();
    EXPECT_EQ(0u, log.find(CONNECTED + "Couldn't read seek: ")) << log;
    EXPECT_EQ(VERSION_QUERY, JoinLines(m_winamp.Messages()));

    CPhoneClient next;
    ConnectPhone(next);
    ExpectNothingBeforeCheck(next);
}

class Winamp2Start : public Winamp2
{
};

TEST_F(Winamp2Start, StopStartsTheApplicationWhenTickedButCheckAndVersionDoNot)
{
    m_winamp.Prepare("");
    StartServer("ListenOnSocket=1\r\nStartWinampAutomatically=1\r\nPathToApplication0=" +
                m_winamp.ExePath() + "\r\n");
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("VERS"));
    std::string reply;
    ASSERT_TRUE(m_phone.Receive(9, reply, REPLY_TIMEOUT_MS));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_FALSE(m_winamp.IsRunning());

    ASSERT_TRUE(m_phone.Send("STOP"));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_winamp.IsRunning());
    EXPECT_EQ(VERSION_QUERY + "WM_COMMAND 40047 0\n", JoinLines(m_winamp.Messages()));
}

TEST_F(Winamp2Start, WithoutTheTickNothingIsStarted)
{
    m_winamp.Prepare("");
    StartServer("ListenOnSocket=1\r\nPathToApplication0=" + m_winamp.ExePath() + "\r\n");
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("STOP"));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_FALSE(m_winamp.IsRunning());
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Stopping\r\n" + ACK));
}

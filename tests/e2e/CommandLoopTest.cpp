// The command loop over TCP: framing, CHCK, VERS, unknown commands, clients
// coming and going, EXIT.
#include <stdlib.h>
#include "ServerTest.h"

static const std::string CONNECTED = "Client connected on Internet socket\r\n";
static const std::string ACK = "Sent ACK to phone\r\n";
static const std::string CLOSED = "Client has closed connection\r\n";

class CommandLoop : public CServerTest
{
};

TEST_F(CommandLoop, FirstLogLineIsTheWelcomeBanner)
{
    StartServer();
    EXPECT_EQ(0u, m_server.Log().find("Welcome to Quorvel v1.72\r\n")) << m_server.Log();
}

TEST_F(CommandLoop, VersionIsNineBytesAndLogsNothing)
{
    StartServer();
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("VERS"));
    ExpectReply(m_phone, std::string("VERSACK\x01\x48", 9));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + ACK)) << m_server.LogAfterBanner();
}

TEST_F(CommandLoop, CheckIsAnsweredWithExactlyOneY)
{
    StartServer();
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("CHCKVERS"));
    ExpectReply(m_phone, std::string("YVERSACK\x01\x48", 10));
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + ACK)) << m_server.LogAfterBanner();
}

TEST_F(CommandLoop, UnknownCommandsAreLoggedAndAnsweredWithNothing)
{
    StartServer();
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send(std::string("play\0\0\0\0", 8)));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Read unknown command \"play\"\r\n" +
                                        "Read unknown command \"\"\r\n" + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(CommandLoop, ACommandSplitOverTwoSegmentsIsOneCommand)
{
    StartServer();
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("CH"));
    Sleep(200);
    ASSERT_TRUE(m_phone.Send("CK"));
    ExpectReply(m_phone, "Y");
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + ACK)) << m_server.LogAfterBanner();
}

TEST_F(CommandLoop, AClientClosingMidCommandIsLoggedOnceAndTheNextIsServed)
{
    StartServer();
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("CH"));
    Sleep(100);
    m_phone.Close();
    ASSERT_TRUE(m_server.WaitForLog(CLOSED));

    CPhoneClient next;
    ConnectPhone(next);
    ExpectNothingBeforeCheck(next);
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + CLOSED + CONNECTED + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(CommandLoop, ASecondClientWaitsUntilTheFirstCloses)
{
    StartServer();
    ConnectPhone(m_phone);
    ExpectNothingBeforeCheck(m_phone);

    CPhoneClient second;
    ConnectPhone(second); // taken into the backlog, not yet served
    ASSERT_TRUE(second.Send("CHCK"));
    std::string early;
    EXPECT_FALSE(second.Receive(1, early, 700)) << "served while the first client was";

    m_phone.Close();
    ExpectReply(second, "Y");
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + ACK + CLOSED + CONNECTED + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(CommandLoop, ExitEndsTheProcessWithStatusZero)
{
    StartServer();
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("EXIT"));
    DWORD nExitCode = 12345;
    ASSERT_TRUE(m_server.WaitForExit(10000, &nExitCode));
    EXPECT_EQ(0u, nExitCode);
}

TEST_F(CommandLoop, RandomBytesAndAResetLeaveTheServerServing)
{
    StartServer();
    ConnectPhone(m_phone);
    srand(7654);
    std::string noise;
    for (int i = 0; i < 2000; i++)
        noise += static_cast<char>('A' + rand() % 26); // letters, so never "EXIT" by chance below
    ASSERT_EQ(std::string::npos, noise.find("EXIT"));
    ASSERT_TRUE(m_phone.Send(noise));
    ExpectNothingBeforeCheck(m_phone);
    ASSERT_TRUE(m_phone.Send("SE")); // a command cut off by a reset
    Sleep(100);
    m_phone.AbortConnection();

    // The next client is served once the reset connection has ended.
    CPhoneClient next;
    ConnectPhone(next);
    ExpectNothingBeforeCheck(next);
    ASSERT_TRUE(m_server.WaitForLog("\r\n" + CONNECTED + ACK));
    std::string log = m_server.LogAfterBanner();
    EXPECT_TRUE(log.find("Couldn't read command: ") != std::string::npos ||
                log.find(CLOSED) != std::string::npos)
        << log.substr(log.size() > 2000 ? log.size() - 2000 : 0);

    // No loop is left burning the processor: a second of idling costs almost nothing.
    unsigned long nBefore = m_server.CpuTimeMs();
    Sleep(1000);
    EXPECT_LT(m_server.CpuTimeMs() - nBefore, 300u);
}

TEST_F(CommandLoop, UntickingListenCutsTheClientOffAndTickingListensAgain)
{
    StartServer();
    ConnectPhone(m_phone);
    ExpectNothingBeforeCheck(m_phone);

    m_server.Click(1034);
    EXPECT_FALSE(m_server.IsChecked(1034));
    EXPECT_TRUE(m_phone.WaitForClose(REPLY_TIMEOUT_MS));
    CPhoneClient refused;
    EXPECT_FALSE(refused.ConnectTcp("127.0.0.1", SERVER_PORT, 300));

    m_server.Click(1034);
    CPhoneClient again;
    ConnectPhone(again);
    ExpectNothingBeforeCheck(again);
}

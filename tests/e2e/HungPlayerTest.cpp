// A player whose window stops answering: phones and the page are still answered,
// the hang is logged once, and stopping the links and EXIT end promptly while a
// command is stuck in it.
#include "FakeWinamp.h"
#include "ServerTest.h"
#include "WebClient.h"

static const std::string HUNG =
    "Winamp 2 is not answering; going on as if it were not running\r\n";
static const std::string VOLM_QUARTER("VOLM\x40", 5);
static const std::string HANGING = "WM_USER 64 122"; // the fake records it, then hangs
static const int LISTEN_ON_SOCKET = 1034, CONNECT = 1002;
// Far longer than any wait of the server: an answer before it did not wait for the player.
static const DWORD LONG_HANG_MS = 120000;
static const int ROUNDS = 50;
// A little longer than the server waits for an answer.
static const DWORD HANG_MS = 2300;

class HungPlayer : public CServerTest
{
protected:
    HungPlayer() : m_winamp(m_dir) {}

    void StartWith(DWORD nHangMs, const std::string& settings)
    {
        m_winamp.Prepare("hang_on=122\nhang_ms=" + std::to_string(nHangMs) + "\n");
        ASSERT_TRUE(m_winamp.Start());
        StartServer("PathToApplication0=" + m_winamp.ExePath() + "\r\n" + settings);
    }

    // VOLM once the player is awake again, until the server, which asks a hung
    // player again only now and then, has sent it: the link's worker waits in it.
    void StickACommand(CPhoneClient& phone)
    {
        ASSERT_TRUE(m_winamp.WaitForMessage("woke"));
        m_winamp.ForgetMessages();
        for (int nTry = 0; nTry < 20; nTry++)
        {
            ASSERT_TRUE(phone.Send(VOLM_QUARTER));
            if (m_winamp.WaitForMessage(HANGING, 2000))
                return;
        }
        FAIL() << "the server never asked the player again";
    }

    static size_t Count(const std::string& text, const std::string& part)
    {
        size_t nCount = 0;
        for (size_t i = text.find(part); i != std::string::npos; i = text.find(part, i + 1))
            nCount++;
        return nCount;
    }

    CFakeWinamp m_winamp;
};

TEST_F(HungPlayer, PhonesAreAnsweredAndTheHangIsLoggedOnce)
{
    StartWith(LONG_HANG_MS, "ListenOnSocket=1\r\n");
    ConnectPhone(m_phone);
    DWORD nStart = GetTickCount();
    ASSERT_TRUE(m_phone.Send(VOLM_QUARTER));
    ExpectNothingBeforeCheck(m_phone);
    ASSERT_TRUE(m_phone.Send("INFO"));
    // Stopped, no length, no title: as a player that is not running.
    ExpectReply(m_phone, "INFOACK" + std::string(11, '\0'));
    ASSERT_TRUE(m_phone.Send(VOLM_QUARTER));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_LT(GetTickCount() - nStart, LONG_HANG_MS / 2) << "the phone waited for the player";
    // INFO logs nothing; each CHCK is one ACK.
    const std::string volume = "Set volume to 25%\r\nSent ACK to phone\r\n";
    EXPECT_TRUE(m_server.WaitForLogToBe("Client connected on Internet socket\r\n" + HUNG + volume +
                                        volume))
        << m_server.LogAfterBanner();
}

TEST_F(HungPlayer, ThePageGets503WithTheReason)
{
    StartWith(LONG_HANG_MS, "ListenOnSocket=1\r\nWebRemote=1\r\n");
    std::string token = PairWithServer(m_server);
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send(VOLM_QUARTER));
    ExpectNothingBeforeCheck(m_phone);
    DWORD nStart = GetTickCount();
    CWebResponse response = WebCall("POST", "/api/volume", "value=200", token);
    EXPECT_EQ(503, response.nStatus);
    EXPECT_EQ("{\"error\":\"The player is not answering\"}", response.body);
    EXPECT_EQ(200, WebCall("GET", "/api/version", "", token).nStatus) << "the page is served";
    EXPECT_LT(GetTickCount() - nStart, LONG_HANG_MS / 2) << "the page waited for the player";
}

// The player hangs a little longer than the server waits for it, so each round
// finds it answering again and gets a command stuck in it.
TEST_F(HungPlayer, LinksStopAndStartWhileACommandIsStuck)
{
    CPhoneClient serial;
    StartWith(HANG_MS, "ListenOnSocket=1\r\nCommPort=COM3\r\n");
    ASSERT_TRUE(serial.OpenComPort("COM13"));
    m_dir.WriteFile("winamp\\messages.log", "woke\n"); // awake from the start
    for (int nRound = 0; nRound < ROUNDS && !HasFatalFailure(); nRound++)
    {
        CPhoneClient phone;
        ConnectPhone(phone);
        StickACommand(phone);
        m_server.Click(LISTEN_ON_SOCKET);
        m_server.Click(LISTEN_ON_SOCKET);
        StickACommand(serial);
        m_server.Click(CONNECT);
    }
    ConnectPhone(m_phone);
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_EQ(0u, Count(m_server.LogAfterBanner(), "late to stop")) << m_server.LogAfterBanner();
}

TEST_F(HungPlayer, ExitEndsTheProcessWhileACommandIsStuck)
{
    m_winamp.Prepare("hang_on=122\nhang_ms=" + std::to_string(HANG_MS) + "\n");
    ASSERT_TRUE(m_winamp.Start());
    m_dir.WriteFile("winamp\\messages.log", "woke\n");
    for (int nRound = 0; nRound < ROUNDS && !HasFatalFailure(); nRound++)
    {
        StartServer("PathToApplication0=" + m_winamp.ExePath() +
                    "\r\nListenOnSocket=1\r\nCommPort=COM3\r\n");
        CPhoneClient phone, serial;
        ConnectPhone(phone);
        ASSERT_TRUE(serial.OpenComPort("COM13"));
        StickACommand(phone);
        ASSERT_TRUE(serial.Send("EXIT"));
        DWORD nStart = GetTickCount();
        DWORD nExitCode = 1;
        ASSERT_TRUE(m_server.WaitForExit(WAIT_LIMIT_MS, &nExitCode)) << nRound;
        EXPECT_EQ(0u, nExitCode);
        EXPECT_LT(GetTickCount() - nStart, 5000u) << "round " << nRound;
    }
}

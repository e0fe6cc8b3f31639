// A player whose window stops answering: phones are still answered, the hang is
// logged once, and link stops and EXIT end promptly while a command is stuck in it.
#include <stdlib.h>
#include "FakeWinamp.h"
#include "ServerTest.h"

static const std::string VOLM_QUARTER("VOLM\x40", 5);
static const std::string HANGING = "WM_USER 64 122"; // the fake records it, then hangs
static const int LISTEN_ON_SOCKET = 1034, CONNECT = 1002;
// The suite runs 8 rounds of each to stay within its time; QUORVEL_STUCK_ROUNDS=50
// runs the full count (about 10 minutes under Wine).
static int Rounds()
{
    const char* pszRounds = getenv("QUORVEL_STUCK_ROUNDS");
    int nRounds = pszRounds ? atoi(pszRounds) : 0;
    return nRounds > 0 ? nRounds : 8;
}
// Far longer than any wait of the server: an answer before it did not wait for the player.
static const DWORD LONG_HANG_MS = 120000;
static const DWORD HANG_MS = 2300; // a little longer than the server waits

class HungPlayer : public CServerTest
{
protected:
    HungPlayer() : m_winamp(m_dir) {}

    void StartWinamp(DWORD nHangMs)
    {
        m_winamp.Prepare("hang_on=122\nhang_ms=" + std::to_string(nHangMs) + "\n");
        ASSERT_TRUE(m_winamp.Start());
        m_dir.WriteFile("winamp\\messages.log", "woke\n"); // awake from the start
        m_settings = "PathToApplication0=" + m_winamp.ExePath() +
                     "\r\nListenOnSocket=1\r\nCommPort=COM3\r\n";
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
        FAIL() << "the server never asked the player again\n" << m_server.LogAfterBanner();
    }

    CFakeWinamp m_winamp;
    std::string m_settings;
};

TEST_F(HungPlayer, PhonesAreAnsweredAndTheHangIsLoggedOnce)
{
    StartWinamp(LONG_HANG_MS);
    StartServer(m_settings);
    ConnectPhone(m_phone);
    DWORD nStart = GetTickCount();
    ASSERT_TRUE(m_phone.Send(VOLM_QUARTER + "CHCK" + "INFO"));
    ExpectReply(m_phone, "Y");
    // Stopped, no length, no title: as a player that is not running.
    ExpectReply(m_phone, "INFOACK" + std::string(11, '\0'));
    ASSERT_TRUE(m_phone.Send(VOLM_QUARTER));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_LT(GetTickCount() - nStart, LONG_HANG_MS / 2) << "the phone waited for the player";
    // INFO logs nothing; each CHCK is one ACK.
    const std::string volume = "Set volume to 25%\r\nSent ACK to phone\r\n";
    const std::string hung = "Winamp 2 is not answering; going on as if it were not running\r\n";
    EXPECT_TRUE(m_server.WaitForLog(hung + volume + volume)) << m_server.LogAfterBanner();
}

// The player hangs a little longer than the server waits for it, so each round
// finds it answering again and gets a command stuck in it.
TEST_F(HungPlayer, LinksStopAndStartWhileACommandIsStuck)
{
    StartWinamp(HANG_MS);
    StartServer(m_settings);
    CPhoneClient serial;
    ASSERT_TRUE(serial.OpenComPort("COM13"));
    for (int nRound = 0; nRound < Rounds() && !HasFatalFailure(); nRound++)
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
    EXPECT_EQ(std::string::npos, m_server.Log().find("late to stop")) << m_server.Log();
}

TEST_F(HungPlayer, ExitEndsTheProcessWhileACommandIsStuck)
{
    StartWinamp(HANG_MS);
    for (int nRound = 0; nRound < Rounds() && !HasFatalFailure(); nRound++)
    {
        StartServer(m_settings);
        CPhoneClient phone, serial;
        ConnectPhone(phone);
        ASSERT_TRUE(serial.OpenComPort("COM13"));
        StickACommand(phone);
        ASSERT_TRUE(serial.Send("EXIT"));
        DWORD nExitCode = 1;
        ASSERT_TRUE(m_server.WaitForExit(5000, &nExitCode)) << "round " << nRound << "\n"
                                                           << m_server.LogAfterBanner();
        EXPECT_EQ(0u, nExitCode);
    }
}

// A phone that vanishes from the network without a word is let go within about a
// minute, so the phone queued behind it is served; one that is there but idle stays.
// Its address is on a veth pair of its own, made and deleted inside the test's
// network namespace (tests/rig/netns.sh).
#include "LinuxShell.h"
#include "ServerTest.h"

static const char* const VANISHING = "10.78.0.1";
static const std::string SERVED = "Client connected on Internet socket\r\nSent ACK to phone\r\n";
// Keep-alive after 30 s of quiet, then 5 s apart: 55 s with 5 probes, 75 s under
// Wine, which leaves Linux's count of 9.
static const DWORD LET_GO_LIMIT_MS = 90000;

class VanishedPhone : public CServerTest
{
protected:
    void TearDown() override
    {
        CServerTest::TearDown();
        RunLinuxShell("ip link del qv8 2>/dev/null; true");
    }
};

TEST_F(VanishedPhone, AnIdlePhoneStaysAndAVanishedOneIsLetGoForTheNext)
{
    ASSERT_TRUE(RunLinuxShell("ip link add qv8 type veth peer name qv9 && ip addr add "
                              "10.78.0.1/24 dev qv8 && ip link set qv8 up && ip link set qv9 up"))
        << "run in tests/rig/netns.sh";
    StartServer(std::string("ListenOnSocket=1\r\nAllowedPhones=") + VANISHING + "\r\n");
    CPhoneClient gone, next;
    ASSERT_TRUE(gone.ConnectTcp(VANISHING, SERVER_PORT, REPLY_TIMEOUT_MS, VANISHING));
    ExpectNothingBeforeCheck(gone);
    // Idle past the keep-alive's first probes while still there: still served.
    Sleep(40000);
    ExpectNothingBeforeCheck(gone);
    ASSERT_TRUE(next.ConnectTcp("127.0.0.1", SERVER_PORT, REPLY_TIMEOUT_MS) && next.Send("CHCK"));
    // Gone without a FIN, as when a phone leaves the Wi-Fi: its address is no more.
    ASSERT_TRUE(RunLinuxShell("ip link del qv8"));
    DWORD nStart = GetTickCount();
    std::string reply;
    EXPECT_TRUE(next.Receive(1, reply, LET_GO_LIMIT_MS) && reply == "Y")
        << "not served after " << (GetTickCount() - nStart) << " ms";
    EXPECT_TRUE(m_server.WaitForLogToBe(SERVED + "Sent ACK to phone\r\n" +
                                        "The phone stopped answering; closed its connection\r\n" +
                                        SERVED))
        << m_server.LogAfterBanner();
}

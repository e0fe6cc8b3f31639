// The TCP listener under a stream of phones: every waiting phone is taken, however
// the one before it left, and one that gave up before it was taken costs nothing.
#include "ServerTest.h"

static const std::string SERVED = "Client connected on Internet socket\r\nSent ACK to phone\r\n";
static const std::string CLOSED = "Client has closed connection\r\n";
using Listener = CServerTest;

static bool Check(CPhoneClient& phone)
{
    std::string reply;
    return phone.ConnectTcp("127.0.0.1", SERVER_PORT, REPLY_TIMEOUT_MS) && phone.Send("CHCK") &&
           phone.Receive(1, reply, REPLY_TIMEOUT_MS) && reply == "Y";
}

// A reset reaches the server as an error or as the end of the connection, as it happens.
static std::string ResetsAsCloses(std::string log)
{
    const std::string reset = "Couldn't read command: 10054\r\n";
    for (size_t nAt = log.find(reset); nAt != std::string::npos; nAt = log.find(reset, nAt))
        log.replace(nAt, reset.size(), CLOSED);
    return log;
}

// Closed in order, inside VOLM's parameter, or reset, in turn.
TEST_F(Listener, EveryClientIsServedWhileTheLogIsRead)
{
    StartServer();
    std::string expected;
    for (int i = 0; i < 300; i++)
    {
        CPhoneClient phone;
        ASSERT_TRUE(Check(phone)) << "client " << i << " was not answered";
        ASSERT_TRUE(i % 3 != 1 || phone.Send("VOLM"));
        i % 3 == 2 ? phone.AbortConnection() : phone.Close();
        expected += SERVED + (i % 3 == 1 ? "Couldn't read volume: 0\r\n" : "") + CLOSED;
        m_server.Log();
    }
    EXPECT_TRUE(WaitUntil([&] { return ResetsAsCloses(m_server.LogAfterBanner()) == expected; }));
}

// The listen backlog holds two connections behind the one served: each round
// queues one that is reset at once, and the next round's phone behind it.
TEST_F(Listener, ClientsResetBeforeTheyAreAcceptedCostNoPause)
{
    StartServer();
    CPhoneClient phones[2];
    ASSERT_TRUE(Check(phones[0]));
    std::string expected = SERVED;
    DWORD nStart = GetTickCount();
    for (int i = 0; i < 20; i++)
    {
        CPhoneClient gone;
        ASSERT_TRUE(gone.ConnectTcp("127.0.0.1", SERVER_PORT, REPLY_TIMEOUT_MS));
        gone.AbortConnection();
        ASSERT_TRUE(phones[(i + 1) % 2].ConnectTcp("127.0.0.1", SERVER_PORT, REPLY_TIMEOUT_MS));
        ASSERT_TRUE(phones[(i + 1) % 2].Send("CHCK"));
        phones[i % 2].Close();
        ExpectReply(phones[(i + 1) % 2], "Y");
        expected +=
            CLOSED + "A client left before it was accepted on the Internet socket\r\n" + SERVED;
    }
    EXPECT_LT(GetTickCount() - nStart, 8000u) << "a pause for each reset";
    EXPECT_TRUE(m_server.WaitForLogToBe(expected)) << m_server.LogAfterBanner();
}

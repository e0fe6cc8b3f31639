// The TCP listener under a stream of phones: every waiting phone is taken, however
// the one before it left, and one that gave up before it was taken costs nothing.
#include "FakeWinamp.h"
#include "ServerTest.h"

static const std::string SERVED = "Client connected on Internet socket\r\nSent ACK to phone\r\n";
static const std::string CLOSED = "Client has closed connection\r\n";
using Listener = CServerTest;

static bool Connect(CPhoneClient& phone)
{
    return phone.ConnectTcp("127.0.0.1", SERVER_PORT, REPLY_TIMEOUT_MS);
}

// A reset reaches the server as an error or as the end of the connection, as it happens.
static std::string ResetsAsCloses(std::string log)
{
    const std::string reset = "Couldn't read command: 10054\r\n";
    for (size_t nAt = log.find(reset); nAt != std::string::npos; nAt = log.find(reset, nAt))
        log.replace(nAt, reset.size(), CLOSED);
    return log;
}

// Closed in order, inside VOLM's parameter, or reset, in turn; the next one
// already waits then, so its wake-up comes while the listener is busy.
TEST_F(Listener, EveryClientIsServedWhileTheLogIsRead)
{
    StartServer();
    CPhoneClient phones[2];
    ASSERT_TRUE(Connect(phones[0]));
    std::string expected, reply;
    for (int i = 0; i < 300; i++)
    {
        CPhoneClient& phone = phones[i % 2];
        ASSERT_TRUE(phone.Send("CHCK") && phone.Receive(1, reply, REPLY_TIMEOUT_MS) && reply == "Y")
            << "client " << i << " was not answered";
        ASSERT_TRUE(i == 299 || Connect(phones[(i + 1) % 2]));
        ASSERT_TRUE(i % 3 != 1 || phone.Send("VOLM"));
        i % 3 == 2 ? phone.AbortConnection() : phone.Close();
        expected += SERVED + (i % 3 == 1 ? "Couldn't read volume: 0\r\n" : "") + CLOSED;
        m_server.Log();
    }
    EXPECT_TRUE(WaitUntil([&] { return ResetsAsCloses(m_server.LogAfterBanner()) == expected; }));
}

// Each round queues a phone reset at once and the next behind it: the backlog holds two.
TEST_F(Listener, ClientsResetBeforeTheyAreAcceptedCostNoPause)
{
    StartServer();
    CPhoneClient phones[2];
    ASSERT_TRUE(Connect(phones[0]) && phones[0].Send("CHCK"));
    ExpectReply(phones[0], "Y");
    std::string expected = SERVED;
    DWORD nStart = GetTickCount();
    for (int i = 0; i < 20; i++)
    {
        CPhoneClient gone;
        ASSERT_TRUE(Connect(gone));
        gone.AbortConnection();
        ASSERT_TRUE(Connect(phones[(i + 1) % 2]) && phones[(i + 1) % 2].Send("CHCK"));
        phones[i % 2].Close();
        ExpectReply(phones[(i + 1) % 2], "Y");
        expected +=
            CLOSED + "A client left before it was accepted on the Internet socket\r\n" + SERVED;
    }
    EXPECT_LT(GetTickCount() - nStart, 8000u) << "a pause for each reset";
    EXPECT_TRUE(m_server.WaitForLogToBe(expected)) << m_server.LogAfterBanner();
}

// What a web page makes a browser send to this port, split or whole, with VOLM@ at
// every alignment in its body: closed unread, and the phone after it is served.
TEST_F(Listener, AnHttpRequestIsClosedWithNothingRunAndThePhoneAfterItIsServed)
{
    CFakeWinamp winamp(m_dir);
    winamp.Prepare("");
    ASSERT_TRUE(winamp.Start());
    StartServer("ListenOnSocket=1\r\nPathToApplication0=" + winamp.ExePath() + "\r\n");
    const std::string body = "VOLM@VOLM@xVOLM@xxVOLM@xxxVOLM@SHUTEXIT";
    const std::string post = "POST / HTTP/1.1\r\nHost: 127.0.0.1:7654\r\nContent-Length: " +
                             std::to_string(body.size()) + "\r\n\r\n" + body;
    const std::string requests[][2] = {
        {post, ""},
        {"PO", "ST / HTTP/1.1\r\n\r\n" + body},
        {"GET / HTTP/1.1\r\n\r\n", ""},
        {"OPTIONS / HTTP/1.1\r\n\r\n", ""},
        {"PRI * HTTP/2.0\r\n\r\nSM\r\n\r\n", ""},
    };
    std::string expected;
    for (const auto& request : requests)
    {
        CPhoneClient page;
        ASSERT_TRUE(Connect(page) && page.Send(request[0]));
        // The rest in a segment of its own: the method's four bytes then arrive in two reads.
        Sleep(100);
        ASSERT_TRUE(request[1].empty() || page.Send(request[1]));
        EXPECT_TRUE(page.WaitForClose(REPLY_TIMEOUT_MS)) << request[0];
        expected += "Client connected on Internet socket\r\nClosed the connection from "
                    "127.0.0.1: it spoke HTTP, not the phone's protocol\r\n";
    }
    EXPECT_TRUE(m_server.WaitForLogToBe(expected)) << m_server.LogAfterBanner();
    EXPECT_EQ("", JoinLines(winamp.Messages()));
    ConnectPhone(m_phone);
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe(expected + SERVED)) << m_server.LogAfterBanner();
}

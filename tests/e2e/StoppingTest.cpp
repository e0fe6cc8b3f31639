// Stopping a link while a download is under way: unticking "Listen on Internet
// socket", Connect and Exit cut it off, the log line it opened is ended, and the
// server goes on serving.
#include "ServerTest.h"

static const std::string CONNECTED = "Client connected on Internet socket\r\n";
static const std::string ACK = "Sent ACK to phone\r\n";
static const int LISTEN_ON_SOCKET = 1034, EXIT_BUTTON = 1006, COM_PORT = 1001, CONNECT = 1002;

class Stopping : public CServerTest
{
protected:
    // More than the link can hold while the phone reads nothing.
    void SetUp() override
    {
        m_dir.WriteFile("big.bin", std::string(32 * 1024 * 1024, 'q'));
        m_big = m_dir.File("big.bin");
    }
    std::string Uploading() const { return "Uploading \"" + m_big + "\"... "; }

    // Asks for the big file and waits until its bytes flow; the phone then reads no
    // more, and soon the server waits in a write that cannot go on.
    void StartDownload(CPhoneClient& phone)
    {
        ASSERT_TRUE(phone.Send("DOWN" + EncodeName(m_big)));
        std::string start;
        ASSERT_TRUE(phone.Receive(8, start, REPLY_TIMEOUT_MS));
        ASSERT_EQ("DOWNACKq", start);
        Sleep(500);
    }

    std::string m_big;
};

TEST_F(Stopping, UntickingListenCutsADownloadOff)
{
    StartServer();
    ConnectPhone(m_phone);
    StartDownload(m_phone);
    m_server.Click(LISTEN_ON_SOCKET);
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + Uploading() + "finished\r\n"))
        << m_server.LogAfterBanner();

    m_server.Click(LISTEN_ON_SOCKET);
    CPhoneClient next;
    ConnectPhone(next);
    ExpectNothingBeforeCheck(next);
}

TEST_F(Stopping, ConnectCutsASerialDownloadOff)
{
    StartServer("CommPort=COM3\r\n");
    CPhoneClient serial;
    ASSERT_TRUE(serial.OpenComPort("COM13"));
    StartDownload(serial);
    m_server.SetControlText(COM_PORT, "COM12");
    m_server.Click(CONNECT);
    EXPECT_TRUE(m_server.WaitForLogToBe("Connected to port COM3\r\n" + Uploading() +
                                        "finished\r\nConnected to port COM12\r\n"))
        << m_server.LogAfterBanner();

    CPhoneClient other;
    ASSERT_TRUE(other.OpenComPort("COM22"));
    ExpectNothingBeforeCheck(other);
}

TEST_F(Stopping, ExitEndsTheServerDuringADownload)
{
    StartServer();
    ConnectPhone(m_phone);
    StartDownload(m_phone);
    m_server.Click(EXIT_BUTTON);
    DWORD nExitCode = 0;
    EXPECT_TRUE(m_server.WaitForExit(30000, &nExitCode));
}

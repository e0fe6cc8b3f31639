// Phones on other computers over TCP: held unread until the user allows them in
// the window, remembered in AllowedPhones; this PC's own phones are served as ever.
// The test runs in a network namespace with the local addresses 10.77.0.1 and .2
// (tests/rig/netns.sh), which the phones connect from.
#include "ServerTest.h"

static const char* const PHONE = "10.77.0.1";
static const char* const OTHER = "10.77.0.2";
static const char* const QUESTION = "Allow this phone?";
static const int ALLOW = 1121, DENY = 1122, LISTEN_ON_SOCKET = 1034, EXIT_BUTTON = 1006;
static const WPARAM FORGET_PHONES = 0x0030;
static const UINT PHONE_ALLOWED = WM_APP + 21; // wParam: the question's number; lParam: the address
static const std::string CONNECTED = "Client connected on Internet socket\r\n";
static const std::string ACK = "Sent ACK to phone\r\n";
static const std::string CLOSED = "Client has closed connection\r\n";

static std::string Asks(const char* pszAddress)
{
    return std::string("A phone at ") + pszAddress +
           " asks to control this PC; waiting for your answer\r\n";
}

class PhoneApproval : public CServerTest
{
protected:
    // Connects from the address and sends CHCK, which is answered only once allowed.
    void ConnectFrom(CPhoneClient& phone, const char* pszAddress)
    {
        ASSERT_TRUE(phone.ConnectTcp(PHONE, SERVER_PORT, REPLY_TIMEOUT_MS, pszAddress))
            << "no local address " << pszAddress << ": run in tests/rig/netns.sh";
        ASSERT_TRUE(phone.Send("CHCK"));
    }

    HWND WaitForQuestion(const char* pszAddress)
    {
        HWND hQuestion = m_server.WaitForDialog(QUESTION, true);
        EXPECT_TRUE(hQuestion != NULL);
        if (hQuestion)
            EXPECT_EQ(std::string("A phone at ") + pszAddress + " wants to control this PC.",
                      DialogItemText(hQuestion, 1120));
        return hQuestion;
    }

    std::string Settings() const { return m_dir.ReadFile("QuorvelServer.ini"); }
};

TEST_F(PhoneApproval, APhoneIsHeldUntilAllowedOrDeniedWhileThisPcsPhonesAreServed)
{
    StartServer();
    SendMessageA(m_server.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    // The program the user is typing in keeps the foreground, so no key answers.
    HWND hTyping = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, 0, 0, 0, 0);
    SetForegroundWindow(hTyping);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == hTyping; }));
    CPhoneClient phone, other;
    ConnectFrom(phone, PHONE);
    HWND hQuestion = WaitForQuestion(PHONE);
    ASSERT_TRUE(hQuestion != NULL);
    EXPECT_TRUE(IsWindowVisible(m_server.Window())) << "out of the tray to ask";
    EXPECT_EQ(hTyping, GetForegroundWindow());
    SetForegroundWindow(hQuestion);
    GUITHREADINFO info = {sizeof(info)};
    HWND hDeny = GetDlgItem(hQuestion, DENY);
    EXPECT_TRUE(WaitUntil([&] { return GetGUIThreadInfo(0, &info) && info.hwndFocus == hDeny; }));
    EXPECT_EQ(MAKELRESULT(DENY, DC_HASDEFID), SendMessageA(hQuestion, DM_GETDEFID, 0, 0));
    DestroyWindow(hTyping); // unpumped, it would hold up the next server's start

    // Anywhere in 127/8 is this PC.
    ASSERT_TRUE(m_phone.ConnectTcp("127.0.0.1", SERVER_PORT, REPLY_TIMEOUT_MS, "127.255.0.9"));
    ExpectNothingBeforeCheck(m_phone);
    m_phone.Close();
    std::string early;
    EXPECT_FALSE(phone.Receive(1, early, 500)) << "nothing is read or answered while held";
    PressButton(hQuestion, ALLOW);
    ExpectReply(phone, "Y");
    phone.Close();

    // Denied: closed, and refused unasked until the server restarts. Stale answers change nothing.
    ConnectFrom(other, OTHER);
    HWND hOtherQuestion = WaitForQuestion(OTHER);
    PostMessageA(m_server.Window(), PHONE_ALLOWED, 1, 0x0A4D0002);
    PostMessageA(m_server.Window(), PHONE_ALLOWED, 2, 0x0A4D0001);
    PressButton(hOtherQuestion, DENY);
    EXPECT_TRUE(other.WaitForClose(REPLY_TIMEOUT_MS));
    ConnectFrom(other, OTHER);
    EXPECT_TRUE(other.WaitForClose(REPLY_TIMEOUT_MS));
    EXPECT_TRUE(m_server.WaitForLogToBe(
        Asks(PHONE) + CONNECTED + ACK + CLOSED + "Allowed the phone at 10.77.0.1\r\n" + CONNECTED +
        ACK + CLOSED + Asks(OTHER) +
        "Denied the phone at 10.77.0.2: it is refused until Quorvel restarts\r\n"
        "Refused the phone at 10.77.0.2: it was denied\r\n"))
        << m_server.LogAfterBanner();
    EXPECT_TRUE(m_server.WaitForDialog(QUESTION, false, 0) == NULL) << "asked once";
    EXPECT_EQ("[QuorvelServer]\r\nListenOnSocket=1\r\nAllowedPhones=10.77.0.1\r\n", Settings());

    // Remembered, the denied phone not: served at once after a restart.
    m_server.Click(EXIT_BUTTON);
    DWORD nExitCode = 1;
    ASSERT_TRUE(m_server.WaitForExit(WAIT_LIMIT_MS, &nExitCode));
    EXPECT_NE(std::string::npos, Settings().find("\r\nAllowedPhones=10.77.0.1\r\n"));
    EXPECT_EQ(1, CountOccurrences(Settings(), "AllowedPhones")) << Settings();
    ASSERT_TRUE(m_server.Start(m_dir.Path()));
    ConnectFrom(phone, PHONE);
    ExpectReply(phone, "Y");
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + ACK)) << m_server.LogAfterBanner();
}

TEST_F(PhoneApproval, OneQuestionAtATimeAndNoneLeftWhenTheListenerStops)
{
    StartServer();
    CPhoneClient phone, other;
    ConnectFrom(phone, PHONE);
    WaitForQuestion(PHONE);
    ConnectFrom(other, OTHER);
    EXPECT_TRUE(other.WaitForClose(REPLY_TIMEOUT_MS));
    ConnectFrom(other, PHONE); // the phone asked about, again
    EXPECT_TRUE(other.WaitForClose(REPLY_TIMEOUT_MS));

    m_server.Click(LISTEN_ON_SOCKET);
    EXPECT_TRUE(phone.WaitForClose(REPLY_TIMEOUT_MS));
    EXPECT_TRUE(WaitUntil([&] { return m_server.WaitForDialog(QUESTION, false, 0) == NULL; }));
    m_server.Click(LISTEN_ON_SOCKET);

    // Neither was answered, so the other phone is asked about now; allowed, then forgotten.
    ConnectFrom(other, OTHER);
    PressButton(WaitForQuestion(OTHER), ALLOW);
    ExpectReply(other, "Y");
    EXPECT_NE(std::string::npos, Settings().find("AllowedPhones=10.77.0.2\r\n"));
    SendMessageA(m_server.Window(), WM_SYSCOMMAND, FORGET_PHONES, 0);
    EXPECT_EQ(std::string::npos, Settings().find("AllowedPhones")) << Settings();
    EXPECT_TRUE(m_server.WaitForLogToBe(
        Asks(PHONE) +
        "Refused the phone at 10.77.0.2: another phone is waiting for your answer\r\n" +
        "Refused the phone at 10.77.0.1: another phone is waiting for your answer\r\n" +
        Asks(OTHER) + "Allowed the phone at 10.77.0.2\r\n" + CONNECTED + ACK +
        "Forgot the approved phones: a phone on another computer is asked about again\r\n"))
        << m_server.LogAfterBanner();
}

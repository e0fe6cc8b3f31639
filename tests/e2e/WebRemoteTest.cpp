// The web remote from a browser's side, over plain HTTP: pairing and its
// refusals, the long-poll, and the limits on what a client may send (the page's
// actions are the browser test's, tests/browser/web_remote.py).
#include "FakeWinamp.h"
#include "ServerTest.h"
#include "WebClient.h"

class WebRemote : public CServerTest
{
protected:
    WebRemote() : m_winamp(m_dir) {}

    void SetUp() override
    {
        CreateDirectoryA(m_dir.File("Music").c_str(), NULL);
        m_dir.WriteFile("Music\\a.mp3", "12345");
        m_winamp.Prepare("caption=Song - Winamp\nstate=1\nlength=180\n");
        ASSERT_TRUE(m_winamp.Start());
        StartServer("ListenOnSocket=1\r\nWebRemote=1\r\nPath=" + m_dir.File("Music") +
                    "\r\nPathToApplication0=" + m_winamp.ExePath() + "\r\n");
        ASSERT_TRUE(m_server.WaitForLog("Web remote: listening on port 7655\r\n"));
    }

    std::string Pair() { return PairWithServer(m_server); }

    CFakeWinamp m_winamp;
};

// tests/rig/netns.sh gives this PC an address outside the local ranges too.
TEST_F(WebRemote, UnpairedGets401AndAnOutsidePeerIsClosedUnanswered)
{
    m_winamp.ForgetMessages();
    EXPECT_EQ(200, WebCall("GET", "/").nStatus) << "the page itself asks for the code";
    EXPECT_EQ(401, WebCall("POST", "/api/play").nStatus);
    CWebResponse none = WebCall("GET", "/api/status");
    EXPECT_EQ("{\"error\":\"not paired\",\"reason\":\"none\"}", none.body) << "the page says why";
    CWebResponse unknown = WebCall("POST", "/api/volume", "value=1", std::string(64, 'a'));
    EXPECT_EQ(401, unknown.nStatus);
    EXPECT_NE(std::string::npos, unknown.body.find("\"reason\":\"unknown\"")) << unknown.body;
    EXPECT_EQ("", JoinLines(m_winamp.Messages()));

    const char* const OUTSIDE = "198.51.100.7";
    CPhoneClient peer;
    ASSERT_TRUE(peer.ConnectTcp(OUTSIDE, WEB_PORT, WAIT_LIMIT_MS, OUTSIDE)) << "run in netns.sh";
    peer.Send(WebRequestBytes("GET", "/")); // a reset is as good as a close
    std::string answer;
    EXPECT_FALSE(peer.Receive(1, answer, WAIT_LIMIT_MS)) << answer;
    EXPECT_TRUE(peer.LinkClosed());
    EXPECT_TRUE(
        m_server.WaitForLogToBe("Web remote: listening on port 7655\r\nWeb remote: refused " +
                                std::string(OUTSIDE) + ", which is not on the local network\r\n"))
        << m_server.LogAfterBanner();
}

TEST_F(WebRemote, PairingGivesATokenAndANewCodeUntilTheFifthWrongCodeLocksOut)
{
    std::string code = ReadPairingCode(m_server);
    std::string cookie = WebCall("POST", "/api/pair", "code=" + code).Header("Set-Cookie");
    EXPECT_EQ(14 + 64u, cookie.find("; HttpOnly; SameSite=Strict; Path=/;")) << cookie;
    std::string token = cookie.substr(14, 64); // after "quorvel_token="
    EXPECT_EQ(200, WebCall("GET", "/api/version", "", token).nStatus);
    std::string stored = m_dir.ReadFile("QuorvelServer-browsers.txt");
    EXPECT_EQ(std::string::npos, stored.find(token)) << "only the token's hash is kept";
    EXPECT_EQ(64u, stored.find('\t')) << stored;
    EXPECT_NE(std::string::npos, stored.find("\tBrowser\t127.0.0.1\t")) << "paired from there";

    std::string next = ReadPairingCode(m_server);
    EXPECT_NE(code, next);
    std::string wrong = next == "000000" ? "000001" : "000000";
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(403, WebCall("POST", "/api/pair", "code=" + wrong).nStatus) << i;
    EXPECT_EQ(429, WebCall("POST", "/api/pair", "code=" + wrong).nStatus);
    CWebResponse sixth = WebCall("POST", "/api/pair", "code=" + next);
    EXPECT_EQ(429, sixth.nStatus);
    EXPECT_NE(std::string::npos, sixth.body.find("\"seconds\":")) << sixth.body;
    EXPECT_EQ("", sixth.Header("Set-Cookie"));
    std::string wrongs = "Web remote: wrong pairing code from 127.0.0.1\r\n";
    EXPECT_TRUE(m_server.WaitForLogToBe(
        "Web remote: listening on port 7655\r\nWeb remote: paired Browser at 127.0.0.1\r\n" +
        wrongs + wrongs + wrongs + wrongs +
        "Web remote: 127.0.0.1 locked out for a minute after 5 wrong codes\r\n"))
        << m_server.LogAfterBanner() << "(the codes are never logged)";
}

TEST_F(WebRemote, PathsOutsideTheBrowseFoldersGet403AndALogLine)
{
    std::string token = Pair();
    m_winamp.ForgetMessages();
    const std::string paths[] = {m_dir.File("QuorvelServer.ini"),
                                 m_dir.File("Music\\..\\QuorvelServer.ini"), "C:\\Windows"};
    EXPECT_EQ(403, WebCall("GET", "/api/download?path=" + UrlEncoded(paths[0]), "", token).nStatus);
    EXPECT_EQ(403,
              WebCall("POST", "/api/play-file", "path=" + UrlEncoded(paths[1]), token).nStatus);
    EXPECT_EQ(403, WebCall("GET", "/api/list?path=" + UrlEncoded(paths[2]), "", token).nStatus);
    // Logged as text of one line, and not at any length.
    const std::pair<std::string, std::string> odd[] = {
        {"C:\\Windows\nx", "C:\\Windows\\x0Ax"},
        {"C:\\" + std::string(1100, 'x'), "C:\\" + std::string(197, 'x') + "..."}};
    for (const auto& path : odd)
        EXPECT_EQ(403,
                  WebCall("GET", "/api/list?path=" + UrlEncoded(path.first), "", token).nStatus);
    EXPECT_EQ("", WithoutStatusQueries(m_winamp.Messages()));
    std::string log =
        "Web remote: listening on port 7655\r\nWeb remote: paired Browser at 127.0.0.1\r\n";
    for (const std::string& path : {paths[0], paths[1], paths[2], odd[0].second, odd[1].second})
        log += "Web remote: refused \"" + path +
               "\" from 127.0.0.1: not inside the folders to browse\r\n";
    EXPECT_TRUE(m_server.WaitForLogToBe(log)) << m_server.LogAfterBanner();
}

TEST_F(WebRemote, BadRequestsGetTheirStatusAndThePhoneLinkKeepsServing)
{
    // The last two sent whole, with far more than is read before the answer.
    const std::pair<std::string, int> cases[] = {
        {"GARBAGE\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nX-Big: " + std::string(9000, 'x') + "\r\n\r\n", 431},
        {"POST /api/pair HTTP/1.1\r\nContent-Length: 5000\r\n\r\n", 413},
        {"GET /" + std::string(16370, 'a') + " HTTP/1.1\r\n\r\n", 431}, // a 16,384-byte line
        {"POST /api/pair HTTP/1.1\r\nContent-Length: 20000\r\n\r\n" + std::string(20000, 'c'), 413},
    };
    for (const auto& c : cases)
    {
        CPhoneClient client;
        CWebResponse response;
        ASSERT_TRUE(client.ConnectTcp("127.0.0.1", WEB_PORT, WAIT_LIMIT_MS));
        ASSERT_TRUE(client.Send(c.first));
        EXPECT_TRUE(ReadWebResponse(client, &response));
        EXPECT_EQ(c.second, response.nStatus);
        EXPECT_TRUE(client.WaitForClose(WAIT_LIMIT_MS));
    }

    // One address holds 8 connections at most, and idle ones of others give way to a page.
    CPhoneClient idle[28];
    for (int i = 0; i < 28; i++)
    {
        std::string from = i < 16 ? "10.77.0.2" : "127.0.0." + std::to_string(2 + (i - 16) / 4);
        ASSERT_TRUE(idle[i].ConnectTcp(i < 16 ? "10.77.0.2" : "127.0.0.1", WEB_PORT, WAIT_LIMIT_MS,
                                       from.c_str()));
    }
    CWebResponse busy;
    ASSERT_TRUE(ReadWebResponse(idle[8], &busy));
    EXPECT_EQ(503, busy.nStatus);
    EXPECT_EQ(200, WebCall("GET", "/app.css").nStatus);

    // A trickle of one byte a second holds its thread no longer than a request may take.
    CPhoneClient trickle;
    ASSERT_TRUE(trickle.ConnectTcp("127.0.0.1", WEB_PORT, WAIT_LIMIT_MS));
    ASSERT_TRUE(trickle.Send("G"));
    int nSent = 1;
    while (nSent < 60 && !trickle.WaitForClose(1000) && trickle.Send("E"))
        nSent++;
    EXPECT_LT(nSent, 60) << "the trickling client was never cut off";

    ConnectPhone(m_phone);
    ExpectNothingBeforeCheck(m_phone);
}

// Connections reset before they are taken, or one after another: none holds up the next.
TEST_F(WebRemote, ResetConnectionsAndManyInTurnHoldNothingUp)
{
    for (int i = 0; i < 20; i++)
    {
        CPhoneClient reset;
        ASSERT_TRUE(reset.ConnectTcp("127.0.0.1", WEB_PORT, WAIT_LIMIT_MS));
        reset.AbortConnection();
    }
    DWORD nStart = GetTickCount();
    EXPECT_EQ(200, WebCall("GET", "/app.css").nStatus);
    EXPECT_LT(GetTickCount() - nStart, 10000u) << "a pause per reset (1 s each) is back";
    for (int i = 0; i < 200; i++)
        ASSERT_EQ(200, WebCall("GET", "/app.css").nStatus) << i;
}

// A page of another site that had its name point here (DNS rebinding) gets nothing.
TEST_F(WebRemote, OnlyThisPcsNamesAreServedAndAForeignHostPairsNothing)
{
    std::string code = ReadPairingCode(m_server);
    auto withHost = [](std::string request, const std::string& host)
    { return request.replace(request.find("127.0.0.1:7655"), 14, host); };
    std::string pair = WebRequestBytes("POST", "/api/pair", "code=" + code);
    CWebResponse foreign = WebCallFrom("127.0.0.1", withHost(pair, "evil.example:7655"));
    EXPECT_EQ(421, foreign.nStatus);
    EXPECT_EQ("", foreign.Header("Set-Cookie"));
    std::string page = WebRequestBytes("GET", "/");
    EXPECT_EQ(421, WebCallFrom("127.0.0.1", withHost(page, std::string(300, 'a'))).nStatus);
    EXPECT_EQ(200, WebCallFrom("10.77.0.1", withHost(page, "10.77.0.1:7655")).nStatus);
    EXPECT_EQ(200, WebCallFrom("10.77.0.2", withHost(page, "localhost:7655")).nStatus);
    EXPECT_EQ(200, WebCallFrom("127.0.0.1", pair).nStatus) << "the code was still unused";
    EXPECT_TRUE(m_server.WaitForLogToBe(
        "Web remote: listening on port 7655\r\nWeb remote: refused host \"evil.example:7655\" "
        "from 127.0.0.1: not a name of this PC\r\nWeb remote: refused host \"" +
        std::string(200, 'a') +
        "...\" from 127.0.0.1: not a name of this PC\r\nWeb remote: paired Browser at "
        "127.0.0.1\r\n"))
        << m_server.LogAfterBanner();
}

TEST_F(WebRemote, TenWrongCodesFromAnyAddressesReplaceTheCode)
{
    std::string code = ReadPairingCode(m_server);
    std::string wrong = "code=" + std::string(code == "000000" ? "000001" : "000000");
    const char* const from[] = {"127.0.0.1", "10.77.0.1", "10.77.0.2"};
    std::string log = "Web remote: listening on port 7655\r\n";
    for (int i = 0; i < 10; i++) // 4 from one address at most: none is locked out
    {
        EXPECT_EQ(403,
                  WebCallFrom(from[i % 3], WebRequestBytes("POST", "/api/pair", wrong)).nStatus);
        log += "Web remote: wrong pairing code from " + std::string(from[i % 3]) + "\r\n";
    }
    std::string right = WebRequestBytes("POST", "/api/pair", "code=" + code);
    EXPECT_EQ(403, WebCallFrom("10.77.0.1", right).nStatus);
    EXPECT_NE(code, ReadPairingCode(m_server)) << "the dialog shows the new one";
    EXPECT_TRUE(m_server.WaitForLogToBe(log +
                                        "Web remote: a new pairing code after 10 wrong ones\r\n"
                                        "Web remote: wrong pairing code from 10.77.0.1\r\n"))
        << m_server.LogAfterBanner();
}

// A held page gets the change in the request it holds; unticking the box stops the
// listener at once and closes the page. The keys: after the others, only when they
// differ from their absent values (the byte-identical INI of a user who never turns
// the web remote on is SettingsSave's).
TEST_F(WebRemote, AHeldPageGetsTheChangeAndTheKeysAreWrittenOnlyWhenNotAbsent)
{
    std::string token = Pair();
    // The page opens as the phone does, with the status command: it finds the application.
    CWebResponse status = WebCall("GET", "/api/status", "", token);
    EXPECT_NE(std::string::npos, status.body.find("\"title\":\"Song\"")) << status.body;
    CPhoneClient page;
    ASSERT_TRUE(page.ConnectTcp("127.0.0.1", WEB_PORT, WAIT_LIMIT_MS));
    ASSERT_TRUE(SendHeldStateRequest(page, token));
    EXPECT_EQ("", page.ReceiveUntilQuiet(1000, 1000)) << "held until something changes";
    SetWindowTextA(FindWindowA("Winamp v1.x", NULL), "Other - Winamp");
    CWebResponse change;
    ASSERT_TRUE(ReadWebResponse(page, &change)) << "one request, answered on the change";
    EXPECT_NE(std::string::npos, change.body.find("\"title\":\"Other\"")) << change.body;
    ASSERT_TRUE(SendHeldStateRequest(page, token));

    HWND hDialog = OpenWebRemoteDialog(m_server);
    ASSERT_TRUE(hDialog != NULL);
    SendMessageA(GetDlgItem(hDialog, 1101), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("8123"));
    for (int nBox : {1100, 1107}) // off, and the page may switch the PC off
    {
        HWND hBox = GetDlgItem(hDialog, nBox);
        SendMessageA(hBox, BM_SETCHECK, SendMessageA(hBox, BM_GETCHECK, 0, 0) ? 0 : 1, 0);
        PressButton(hDialog, nBox);
    }
    CPhoneClient probe;
    EXPECT_FALSE(probe.ConnectTcp("127.0.0.1", WEB_PORT, 0)) << "unticking stops it at once";
    EXPECT_TRUE(page.WaitForClose(WAIT_LIMIT_MS));
    PressButton(hDialog, IDOK);
    m_server.Click(1006);
    DWORD nExitCode = 1;
    ASSERT_TRUE(m_server.WaitForExit(WAIT_LIMIT_MS, &nExitCode));
    std::string ini = m_dir.ReadFile("QuorvelServer.ini");
    EXPECT_EQ(std::string::npos, ini.find("WebRemote=")) << ini;
    const std::string last = "StopWhenSwitching=0\r\nWebRemotePort=8123\r\nWebRemoteShutdown=1\r\n";
    EXPECT_EQ(ini.size() - last.size(), ini.find(last)) << ini;
}

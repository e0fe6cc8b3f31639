// The web remote from a browser's side, over plain HTTP: pairing by key and its
// refusals, and the limits on what a client may send (the page's actions are the
// browser test's, tests/browser/web_remote.py).
#include "ChannelClient.h"
#include "FakeWinamp.h"
#include "ServerTest.h"
#include "WebClient.h"
#include "web/ByteText.h"

namespace
{
const char CHROME_ON_ANDROID[] =
    "Mozilla/5.0 (Linux; Android 14) Chrome/131.0 Mobile Safari/537.36";
const char OLD_COOKIE[] = "quorvel_token=; HttpOnly; SameSite=Strict; Path=/; Max-Age=0";

// This PC's name as the server seals it for the page.
std::string PcName()
{
    wchar_t szName[256];
    DWORD nSize = 256;
    char szUtf8[1024];
    if (!GetComputerNameExW(ComputerNameDnsHostname, szName, &nSize))
        return "";
    int nBytes = WideCharToMultiByte(CP_UTF8, 0, szName, static_cast<int>(nSize), szUtf8,
                                     sizeof(szUtf8), NULL, NULL);
    return std::string(szUtf8, nBytes > 0 ? static_cast<size_t>(nBytes) : 0);
}

// A form under a key the server never showed: its seal does not open there.
std::string WrongForm()
{
    PagePairing page;
    MakePairingForm("0000-0000-0000-0000", "", &page);
    return page.form;
}
} // namespace

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

    CFakeWinamp m_winamp;
};

// tests/rig/netns.sh gives this PC an address outside the local ranges too.
TEST_F(WebRemote, AnOldCookieIsToldWhyAndAnOutsidePeerIsClosedUnanswered)
{
    m_winamp.ForgetMessages();
    EXPECT_EQ(200, WebCall("GET", "/").nStatus) << "the page itself asks for the key";
    CWebResponse old = WebCall("GET", "/api/pair", "", std::string(64, 'a'));
    EXPECT_EQ("{\"reason\":\"old\"}", old.body);
    EXPECT_EQ(OLD_COOKIE, old.Header("Set-Cookie")) << "cleared";
    CWebResponse none = WebCall("GET", "/api/pair");
    EXPECT_EQ("{\"reason\":\"\"}", none.body);
    EXPECT_EQ("", none.Header("Set-Cookie"));
    EXPECT_EQ(401, WebCall("POST", "/api/volume", "value=1", std::string(64, 'a')).nStatus)
        << "an old cookie drives nothing";
    EXPECT_EQ(400, WebCall("POST", "/api/pair", "code=123456").nStatus) << "the old form";
    EXPECT_EQ("", JoinLines(m_winamp.Messages()));

    const char* const OUTSIDE = "198.51.100.7";
    CPhoneClient peer;
    ASSERT_TRUE(peer.ConnectTcp(OUTSIDE, WEB_PORT, WAIT_LIMIT_MS, OUTSIDE)) << "run in netns.sh";
    peer.Send(WebRequestBytes("GET", "/")); // a reset is as good as a close
    std::string answer;
    EXPECT_FALSE(peer.Receive(1, answer, WAIT_LIMIT_MS)) << answer;
    EXPECT_TRUE(peer.LinkClosed());
    EXPECT_TRUE(m_server.WaitForLogToBe(
        "Web remote: listening on port 7655\r\nWeb remote: refused a malformed pairing form from "
        "127.0.0.1\r\nWeb remote: refused " +
        std::string(OUTSIDE) + ", which is not on the local network\r\n"))
        << m_server.LogAfterBanner();
}

// The key never crosses the network: the page proves it holds it, and the PC
// proves the same back by sealing its name.
TEST_F(WebRemote, PairingByKeyAnswersThePcsNameAndANewKeyUntilTheFifthWrongSealLocksOut)
{
    std::string key = ReadPairingKey(m_server);
    EXPECT_EQ(19u, key.size()) << key;
    EXPECT_EQ(std::string::npos, key.find_first_not_of("0123456789ABCDEFGHJKMNPQRSTVWXYZ-")) << key;
    PagePairing page;
    ASSERT_TRUE(MakePairingForm(key, CHROME_ON_ANDROID, &page)) << key;
    CWebResponse paired = WebCall("POST", "/api/pair", page.form);
    EXPECT_EQ(200, paired.nStatus);
    std::string name;
    EXPECT_TRUE(OpenPairingAnswer(page, paired.body, &name)) << paired.body;
    EXPECT_EQ(PcName(), name);
    EXPECT_EQ("", paired.Header("Set-Cookie"));
    std::string stored = m_dir.ReadFile("QuorvelServer-browsers.txt");
    EXPECT_EQ(0u, stored.find(page.idHex + "\t")) << stored;
    EXPECT_EQ(std::string::npos, stored.find(HexFromBytes(page.key))) << "K only protected";
    EXPECT_NE(std::string::npos, stored.find("\tChrome on Android\t127.0.0.1\t")) << stored;

    EXPECT_NE(key, ReadPairingKey(m_server));
    // The same form again: the key it was sealed under has gone, so it is a wrong try.
    EXPECT_EQ("{\"error\":\"wrong key\"}", WebCall("POST", "/api/pair", page.form).body);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(403, WebCall("POST", "/api/pair", WrongForm()).nStatus) << i;
    EXPECT_EQ(429, WebCall("POST", "/api/pair", WrongForm()).nStatus);
    PagePairing right;
    ASSERT_TRUE(MakePairingForm(ReadPairingKey(m_server), "", &right));
    CWebResponse sixth = WebCall("POST", "/api/pair", right.form);
    EXPECT_EQ(429, sixth.nStatus) << "locked out, the right key included";
    EXPECT_EQ(0u, sixth.body.find("{\"seconds\":")) << sixth.body;
    std::string wrongs = "Web remote: wrong pairing key from 127.0.0.1\r\n";
    EXPECT_TRUE(m_server.WaitForLogToBe(
        "Web remote: listening on port 7655\r\nWeb remote: paired Chrome on Android at "
        "127.0.0.1\r\n" +
        wrongs + wrongs + wrongs + wrongs +
        "Web remote: 127.0.0.1 locked out for a minute after 5 wrong keys\r\n"))
        << m_server.LogAfterBanner() << "(the keys are never logged)";
}

TEST_F(WebRemote, PathsOutsideTheBrowseFoldersGet403AndALogLine)
{
    PagePairing browser = PairWithServer(m_server);
    CChannelClient page;
    ASSERT_TRUE(page.Connect());
    ASSERT_TRUE(page.Open(browser.idHex, browser.key));
    m_winamp.ForgetMessages();
    const std::string paths[] = {m_dir.File("QuorvelServer.ini"),
                                 m_dir.File("Music\\..\\QuorvelServer.ini"), "C:\\Windows"};
    const char* const ops[] = {"download", "play-file", "list"};
    for (int i = 0; i < 3; i++)
        EXPECT_NE(std::string::npos, page.Request("\"op\":\"" + std::string(ops[i]) +
                                                  "\",\"path\":\"" + JsonEscaped(paths[i]) + "\"")
                                         .find("\"status\":403"))
            << ops[i];
    // Logged as text of one line, and not at any length.
    const std::pair<std::string, std::string> odd[] = {
        {"C:\\\\Windows\\nx", "C:\\Windows\\x0Ax"},
        {"C:\\\\" + std::string(1100, 'x'), "C:\\" + std::string(197, 'x') + "..."}};
    for (const auto& path : odd)
        EXPECT_NE(std::string::npos,
                  page.Request("\"op\":\"list\",\"path\":\"" + path.first + "\"").find("403"));
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
    PagePairing pairing;
    ASSERT_TRUE(MakePairingForm(ReadPairingKey(m_server), "", &pairing));
    auto withHost = [](std::string request, const std::string& host)
    { return request.replace(request.find("127.0.0.1:7655"), 14, host); };
    std::string pair = WebRequestBytes("POST", "/api/pair", pairing.form);
    CWebResponse foreign = WebCallFrom("127.0.0.1", withHost(pair, "evil.example:7655"));
    EXPECT_EQ(421, foreign.nStatus);
    EXPECT_EQ(std::string::npos, foreign.body.find("seal")) << foreign.body;
    std::string page = WebRequestBytes("GET", "/");
    EXPECT_EQ(421, WebCallFrom("127.0.0.1", withHost(page, std::string(300, 'a'))).nStatus);
    EXPECT_EQ(200, WebCallFrom("10.77.0.1", withHost(page, "10.77.0.1:7655")).nStatus);
    EXPECT_EQ(200, WebCallFrom("10.77.0.2", withHost(page, "localhost:7655")).nStatus);
    EXPECT_EQ(200, WebCallFrom("127.0.0.1", pair).nStatus) << "the key was still unused";
    EXPECT_TRUE(m_server.WaitForLogToBe(
        "Web remote: listening on port 7655\r\nWeb remote: refused host \"evil.example:7655\" "
        "from 127.0.0.1: not a name of this PC\r\nWeb remote: refused host \"" +
        std::string(200, 'a') +
        "...\" from 127.0.0.1: not a name of this PC\r\nWeb remote: paired Browser at "
        "127.0.0.1\r\n"))
        << m_server.LogAfterBanner();
}

// 80 bits are not guessed: wrong keys from many addresses keep nobody from
// pairing. A pairing shows the next key in the open dialog at once.
TEST_F(WebRemote, WrongKeysFromManyAddressesLeaveTheKeyAndAPairingRenewsItInTheOpenDialog)
{
    HWND hDialog = OpenWebRemoteDialog(m_server);
    ASSERT_TRUE(hDialog != NULL);
    const int KEY_CONTROL = 1103;
    std::string key = DialogItemText(hDialog, KEY_CONTROL);
    const char* const from[] = {"127.0.0.1", "10.77.0.1", "10.77.0.2"};
    std::string log = "Web remote: listening on port 7655\r\n";
    for (int i = 0; i < 12; i++) // 4 from one address at most: none is locked out
    {
        CWebResponse wrong =
            WebCallFrom(from[i % 3], WebRequestBytes("POST", "/api/pair", WrongForm()));
        EXPECT_EQ(403, wrong.nStatus) << i;
        log += "Web remote: wrong pairing key from " + std::string(from[i % 3]) + "\r\n";
    }
    EXPECT_EQ(key, DialogItemText(hDialog, KEY_CONTROL));
    PagePairing page;
    ASSERT_TRUE(MakePairingForm(key, "", &page));
    EXPECT_EQ(200,
              WebCallFrom("10.77.0.1", WebRequestBytes("POST", "/api/pair", page.form)).nStatus);
    EXPECT_TRUE(WaitUntil([&] { return DialogItemText(hDialog, KEY_CONTROL) != key; }));
    std::string next = DialogItemText(hDialog, KEY_CONTROL);
    const int NEW_KEY = 1104;
    PressButton(hDialog, NEW_KEY);
    EXPECT_NE(next, DialogItemText(hDialog, KEY_CONTROL)) << "New key draws another";
    EXPECT_EQ("New key", DialogItemText(hDialog, NEW_KEY));
    PressButton(hDialog, IDOK);
    EXPECT_TRUE(m_server.WaitForLogToBe(log + "Web remote: paired Browser at 10.77.0.1\r\n"))
        << m_server.LogAfterBanner();
}

// K is kept protected for this user: after a restart the browser is known again,
// while an older version's line and a key that does not open here are dropped.
TEST_F(WebRemote, APairedBrowserOutlivesARestartAndOlderLinesAreDropped)
{
    ASSERT_FALSE(PairWithServer(m_server).idHex.empty());
    m_server.Click(1006);
    DWORD nExitCode = 1;
    ASSERT_TRUE(m_server.WaitForExit(WAIT_LIMIT_MS, &nExitCode));
    const std::string older =
        std::string(64, 'a') + "\t2026-12-08\tChrome on Android\t10.0.0.5\t2026-12-09 14:05\n";
    const std::string foreign = std::string(32, 'b') + "\t0123\t2026-12-08\tFirefox\t\t\n";
    const char* const FILE_NAME = "QuorvelServer-browsers.txt";
    m_dir.WriteFile(FILE_NAME, older + m_dir.ReadFile(FILE_NAME) + foreign);
    ASSERT_TRUE(m_server.Start(m_dir.Path()));
    HWND hDialog = OpenWebRemoteDialog(m_server);
    ASSERT_TRUE(hDialog != NULL);
    const int BROWSERS = 1105, REMOVE = 1106;
    HWND hList = GetDlgItem(hDialog, BROWSERS);
    EXPECT_EQ(1, SendMessageA(hList, LB_GETCOUNT, 0, 0)) << "the browser paired before";
    SendMessageA(hList, LB_SETCURSEL, 0, 0);
    PressButton(hDialog, REMOVE);
    EXPECT_EQ(0, SendMessageA(hList, LB_GETCOUNT, 0, 0));
    PressButton(hDialog, IDOK);
    EXPECT_EQ("", m_dir.ReadFile(FILE_NAME));
    EXPECT_TRUE(m_server.WaitForLogToBe(
        "Web remote: 2 lines of QuorvelServer-browsers.txt dropped (browsers paired by an older "
        "version, or keys this Windows user cannot open): those browsers pair again\r\n"
        "Web remote: listening on port 7655\r\n"))
        << m_server.LogAfterBanner();
}

// Unticking the box stops the listener at once and closes an open connection
// (a held page's is the live channel's test). The keys: after the others, only
// when they differ from their absent values (the byte-identical INI of a user
// who never turns the web remote on is SettingsSave's).
TEST_F(WebRemote, UntickingClosesAPageAtOnceAndTheKeysAreWrittenOnlyWhenNotAbsent)
{
    CPhoneClient page;
    ASSERT_TRUE(page.ConnectTcp("127.0.0.1", WEB_PORT, WAIT_LIMIT_MS));
    ASSERT_TRUE(page.Send(WebRequestBytes("GET", "/app.css")));
    CWebResponse css;
    ASSERT_TRUE(ReadWebResponse(page, &css));

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

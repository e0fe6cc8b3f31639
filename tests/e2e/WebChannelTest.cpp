// The web remote's live channel from a page's side: requests reach the player
// and answer with the fields the page reads, changes are pushed, downloads go
// by single-use tickets, and what is replayed or malformed closes the channel.
#include "ChannelClient.h"
#include "FakeWinamp.h"
#include "ServerTest.h"
#include "WebClient.h"

class WebChannel : public CServerTest
{
protected:
    WebChannel() : m_winamp(m_dir) {}

    void SetUp() override
    {
        CreateDirectoryA(m_dir.File("Music").c_str(), NULL);
        m_dir.WriteFile("Music\\a.mp3", "the bytes of a.mp3");
        m_dir.WriteFile("list.m3u", "#EXTM3U\r\n#EXTINF:200,Artist - First\r\nC:\\m\\1.mp3\r\n");
        m_winamp.Prepare("caption=1. Song - Winamp\nstate=1\nlength=180\nplaylist_index=0\n"
                         "m3u_source=" +
                         m_dir.File("list.m3u") + "\n");
        ASSERT_TRUE(m_winamp.Start());
        StartServer("ListenOnSocket=1\r\nWebRemote=1\r\nPath=" + m_dir.File("Music") +
                    "\r\nPathToApplication0=" + m_winamp.ExePath() + "\r\n");
        ASSERT_TRUE(m_server.WaitForLog("Web remote: listening on port 7655\r\n"));
        m_browser = PairBrowser(m_server);
        ASSERT_NE("", m_browser.id);
    }

    void Open(CChannelClient& page)
    {
        ASSERT_TRUE(page.Connect());
        ASSERT_TRUE(page.Open(m_browser.id, m_browser.K));
    }

    CFakeWinamp m_winamp;
    TestBrowser m_browser;
};

static bool Has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(WebChannel, RequestsReachThePlayerAndAnswerWithTheOldRoutesFields)
{
    CChannelClient page;
    Open(page);
    // hello starts nothing; status finds the application, as the phone's command does.
    std::string hello = page.Request("\"op\":\"hello\"");
    EXPECT_EQ(0u, hello.find("{\"re\":1,\"ok\":true,\"state\":{\"version\":-1,")) << hello;
    EXPECT_TRUE(Has(hello, "},\"version\":\"1.72\",\"shutdown\":false}")) << hello;
    std::string status = page.Request("\"op\":\"status\"");
    EXPECT_TRUE(
        Has(status, "{\"re\":2,\"ok\":true,\"state\":{\"version\":-1,\"state\":\"playing\""))
        << status;
    EXPECT_TRUE(Has(status, "\"title\":\"Song\"")) << status;
    m_winamp.ForgetMessages();
    const std::pair<std::string, std::string> actions[] = {
        {"\"op\":\"action\",\"name\":\"next\"", "WM_COMMAND 40048 0"},
        {"\"op\":\"volume\",\"value\":128", "WM_USER 128 122"},
    };
    for (const auto& action : actions)
    {
        std::string answer = page.Request(action.first);
        EXPECT_TRUE(Has(answer, "\"ok\":true}")) << answer;
        EXPECT_TRUE(m_winamp.WaitForMessage(action.second)) << action.first;
    }
    const std::pair<std::string, std::string> refused[] = {
        {"\"op\":\"volume\",\"value\":300", "\"status\":404"},
        {"\"op\":\"nope\"", "\"status\":404"},
        {"\"op\":\"shutdown\"", "\"status\":403,\"error\":\"shutdown is not allowed\""},
        {"\"op\":\"play-file\"", "\"status\":400,\"error\":\"no path\""},
        {"\"op\":\"play-file\",\"path\":\"C:\\\\Windows\"", "\"status\":403"},
    };
    for (const auto& request : refused)
        EXPECT_TRUE(Has(page.Request(request.first), "\"ok\":false," + request.second))
            << request.first;
    std::string playlist = page.Request("\"op\":\"playlist\"");
    EXPECT_TRUE(Has(playlist, "\"ok\":true,\"current\":0,\"available\":true,\"length\":1,"
                              "\"entries\":[\"Artist - First\"]}"))
        << playlist;
    // The one folder to browse is listed at once, as by path.
    const std::string entry = "{\"entries\":[{\"name\":\"a.mp3\",\"path\":\"" +
                              JsonEscaped(m_dir.File("Music\\a.mp3")) + "\",\"folder\":false}]}";
    std::string roots = page.Request("\"op\":\"list\"");
    EXPECT_TRUE(Has(roots, "\"ok\":true," + entry.substr(1))) << roots;
    std::string folder =
        page.Request("\"op\":\"list\",\"path\":\"" + JsonEscaped(m_dir.File("Music")) + "\"");
    EXPECT_TRUE(Has(folder, "\"ok\":true," + entry.substr(1))) << folder;
    EXPECT_TRUE(m_server.WaitForLog("Web remote: refused \"C:\\Windows\" from 127.0.0.1: not "
                                    "inside the folders to browse\r\n"))
        << m_server.LogAfterBanner();
}

TEST_F(WebChannel, ChangesArePushedTheMomentTheyHappen)
{
    CChannelClient page;
    Open(page);
    ASSERT_TRUE(Has(page.Request("\"op\":\"status\""), "\"title\":\"Song\""));
    // The first reading is pushed at once; later ones only when they differ.
    std::string push = page.NextPush(WAIT_LIMIT_MS);
    EXPECT_EQ(0u, push.find("{\"push\":\"state\",\"state\":{\"version\":")) << push;
    while (!push.empty() && !Has(push, "\"title\":\"Song\""))
        push = page.NextPush(WAIT_LIMIT_MS);
    SetWindowTextA(FindWindowA("Winamp v1.x", NULL), "1. Other - Winamp");
    DWORD nStart = GetTickCount();
    while (!push.empty() && !Has(push, "\"title\":\"Other\""))
        push = page.NextPush(WAIT_LIMIT_MS);
    EXPECT_TRUE(Has(push, "\"title\":\"Other\"")) << push;
    printf("the change was pushed %lu ms after it was made\n", GetTickCount() - nStart);
}

// Reads a chunked body to its end.
static bool ReadChunked(CPhoneClient& link, std::string* pBody)
{
    for (;;)
    {
        std::string line, chunk, end;
        if (!link.ReceiveThrough('\n', line, WAIT_LIMIT_MS))
            return false;
        size_t nSize = strtoul(line.c_str(), NULL, 16);
        if (!link.Receive(nSize + 2, chunk, WAIT_LIMIT_MS))
            return false;
        if (nSize == 0)
            return true;
        *pBody += chunk.substr(0, nSize);
    }
}

TEST_F(WebChannel, ADownloadTicketServesOneGetWithinAMinute)
{
    CChannelClient page;
    Open(page);
    std::string path = "\"path\":\"" + JsonEscaped(m_dir.File("Music\\a.mp3")) + "\"";
    std::string tickets[2];
    for (std::string& ticket : tickets)
    {
        std::string answer = page.Request("\"op\":\"download\"," + path);
        size_t nAt = answer.find("\"ticket\":\"");
        ASSERT_NE(std::string::npos, nAt) << answer;
        ticket = answer.substr(nAt + 10, 32);
        EXPECT_EQ(std::string::npos, ticket.find_first_not_of("0123456789abcdef")) << ticket;
    }
    EXPECT_NE(tickets[0], tickets[1]);
    CPhoneClient link;
    CWebResponse head;
    std::string body;
    ASSERT_TRUE(link.ConnectTcp("127.0.0.1", WEB_PORT, WAIT_LIMIT_MS));
    ASSERT_TRUE(link.Send(WebRequestBytes("GET", "/api/download?ticket=" + tickets[0])));
    ASSERT_TRUE(ReadWebResponse(link, &head));
    EXPECT_EQ(200, head.nStatus);
    ASSERT_TRUE(ReadChunked(link, &body));
    EXPECT_EQ("the bytes of a.mp3", body);
    EXPECT_EQ(403, WebCall("GET", "/api/download?ticket=" + tickets[0]).nStatus) << "used";
    Sleep(61000);
    EXPECT_EQ(403, WebCall("GET", "/api/download?ticket=" + tickets[1]).nStatus) << "expired";
    const std::string refused = "Web remote: refused a download from 127.0.0.1: its ticket is "
                                "unknown, used or expired\r\n";
    auto refusals = [&]
    {
        std::string log = m_server.LogAfterBanner();
        size_t nCount = 0;
        for (size_t nAt = log.find(refused); nAt != std::string::npos;
             nAt = log.find(refused, nAt + 1))
            nCount++;
        return nCount;
    };
    for (DWORD nStart = GetTickCount(); refusals() < 2 && GetTickCount() - nStart < WAIT_LIMIT_MS;)
        Sleep(100);
    EXPECT_EQ(2u, refusals()) << m_server.LogAfterBanner();
}

TEST_F(WebChannel, ACapturedActionFrameReplayedOnANewConnectionChangesNothing)
{
    std::string opening, action;
    {
        CChannelClient page;
        ASSERT_TRUE(page.Connect());
        ASSERT_TRUE(page.Open(m_browser.id, m_browser.K));
        opening = page.LastSent();
        ASSERT_TRUE(Has(page.Request("\"op\":\"action\",\"name\":\"next\""), "\"ok\":true"));
        action = page.LastSent();
        EXPECT_TRUE(m_winamp.WaitForMessage("WM_COMMAND 40048 0"));
    }
    m_winamp.ForgetMessages();
    CChannelClient replay;
    ASSERT_TRUE(replay.Connect());
    ASSERT_TRUE(replay.Link().Send(opening));
    EXPECT_EQ(1, replay.ReadFrame(WAIT_LIMIT_MS).nOpcode) << "a fresh nonce";
    ASSERT_TRUE(replay.Link().Send(action));
    EXPECT_EQ(1008, replay.WaitForCloseCode(WAIT_LIMIT_MS));
    EXPECT_EQ("", WithoutStatusQueries(m_winamp.Messages()));
    EXPECT_TRUE(m_server.WaitForLog("Web remote: closed the channel from 127.0.0.1: a message "
                                    "did not open or was replayed\r\n"))
        << m_server.LogAfterBanner();
}

TEST_F(WebChannel, AnUnmaskedFrameOrAnUnknownBrowserIsClosed)
{
    CChannelClient unmasked;
    ASSERT_TRUE(unmasked.Connect());
    ASSERT_TRUE(unmasked.SendFrame(1, "{}", false));
    EXPECT_EQ(1002, unmasked.WaitForCloseCode(WAIT_LIMIT_MS));
    CChannelClient stranger;
    ASSERT_TRUE(stranger.Connect());
    EXPECT_FALSE(stranger.Open(RandomHex(16), m_browser.K));
    CChannelClient sameKeyOtherId; // the answer is the opening's refusal, in clear
    ASSERT_TRUE(sameKeyOtherId.Connect());
    ASSERT_TRUE(sameKeyOtherId.SendFrame(1, "{\"id\":\"" + RandomHex(16) + "\",\"nonce\":\"" +
                                                RandomHex(16) + "\"}"));
    ChannelFrame refusal = sameKeyOtherId.ReadFrame(WAIT_LIMIT_MS);
    EXPECT_EQ("{\"error\":\"not paired\",\"reason\":\"unknown\"}", refusal.payload);
    EXPECT_EQ(1008, sameKeyOtherId.WaitForCloseCode(WAIT_LIMIT_MS));
    EXPECT_EQ(401, WebCall("GET", "/api/status").nStatus) << "the old routes are gone";
}

// Remove in the dialog: the page is told at once and closed, and may not open again.
TEST_F(WebChannel, RemoveTellsThePageAndClosesItsChannelAtOnce)
{
    CChannelClient page;
    Open(page);
    ASSERT_TRUE(Has(page.Request("\"op\":\"hello\""), "\"ok\":true"));
    HWND hDialog = OpenWebRemoteDialog(m_server);
    ASSERT_TRUE(hDialog != NULL);
    const int IDC_WEB_BROWSERS = 1105, IDC_WEB_REMOVE = 1106;
    SendMessageA(GetDlgItem(hDialog, IDC_WEB_BROWSERS), LB_SETCURSEL, 0, 0);
    DWORD nStart = GetTickCount();
    PressButton(hDialog, IDC_WEB_REMOVE);
    EXPECT_EQ(1008, page.WaitForCloseCode(WAIT_LIMIT_MS));
    printf("closed %lu ms after Remove\n", GetTickCount() - nStart);
    std::string push = page.NextPush(0);
    while (Has(push, "\"push\":\"state\""))
        push = page.NextPush(0);
    EXPECT_EQ("{\"push\":\"removed\"}", push);
    PressButton(hDialog, IDOK);
    CChannelClient again;
    ASSERT_TRUE(again.Connect());
    ASSERT_TRUE(again.SendFrame(1, "{\"id\":\"" + m_browser.id + "\",\"nonce\":\"" + RandomHex(16) +
                                       "\"}"));
    EXPECT_EQ("{\"error\":\"not paired\",\"reason\":\"removed\"}",
              again.ReadFrame(WAIT_LIMIT_MS).payload);
}

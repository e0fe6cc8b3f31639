// Benchmark of the web remote: VOLM through the live channel (a sealed request
// answered when done) against the same VOLM over the 1.72 TCP link (VOLM and a
// CHCK, answered "Y" when done), in alternating rounds; how soon a change of
// the player reaches a channel as a push; the page's first load on loopback;
// and the server's memory with idle channels.
#include <stdio.h>
#include <string>
#include "BenchSupport.h"
#include "ChannelClient.h"
#include "FakeWinamp.h"
#include "ServerProcess.h"
#include "WebClient.h"

static const int ROUNDS = 9;
static const int COMMANDS = 500;
static const int PAGE_LOADS = 50;
static const int PUSHES = 20;

struct WebContext
{
    CChannelClient* pPage;
    CBenchPhone* pPhone;
};

static double ThroughChannel(void* pParam)
{
    WebContext& context = *static_cast<WebContext*>(pParam);
    double fStart = Now();
    for (int i = 0; i < COMMANDS; i++)
    {
        std::string answer =
            context.pPage->Request("\"op\":\"volume\",\"value\":" + std::to_string(i & 0xFF));
        if (answer.find("\"ok\":true") == std::string::npos)
            return -1;
    }
    return Now() - fStart;
}

static double ThroughTcp(void* pParam)
{
    WebContext& context = *static_cast<WebContext*>(pParam);
    double fStart = Now();
    for (int i = 0; i < COMMANDS; i++)
    {
        std::string reply;
        if (!context.pPhone->Send(std::string("VOLM") + static_cast<char>(i & 0xFF) + "CHCK") ||
            !context.pPhone->Receive(1, reply))
            return -1;
    }
    return Now() - fStart;
}

static double PageLoad()
{
    CPhoneClient browser;
    double fStart = Now();
    if (!browser.ConnectTcp("127.0.0.1", WEB_PORT, 10000))
        return -1;
    const char* const files[] = {"/", "/app.css", "/app.js"};
    for (const char* pszFile : files)
    {
        CWebResponse response;
        if (!browser.Send(WebRequestBytes("GET", pszFile)) ||
            !ReadWebResponse(browser, &response) || response.nStatus != 200)
            return -1;
    }
    return Now() - fStart;
}

// From the caption's change to the push that tells it; -1 when none came.
static double PushDelay(CChannelClient& page, int i)
{
    std::string title = "Song " + std::to_string(i);
    double fStart = Now();
    SetWindowTextA(FindWindowA("Winamp v1.x", NULL), (title + " - Winamp").c_str());
    for (;;)
    {
        std::string push = page.NextPush(10000);
        if (push.empty())
            return -1;
        if (push.find("\"title\":\"" + title + "\"") != std::string::npos)
            return Now() - fStart;
    }
}

static bool OpenChannel(CChannelClient& page, const TestBrowser& browser, const char* pszFrom)
{
    return page.Connect(pszFrom) && page.Open(browser.id, browser.K) &&
           page.Request("\"op\":\"hello\"").find("\"ok\":true") != std::string::npos;
}

int main()
{
    CTempDir dir;
    CFakeWinamp winamp(dir);
    winamp.Prepare("record=0\ncaption=Song - Winamp\nstate=1\n");
    if (!winamp.Start())
        return fprintf(stderr, "bench: the fake Winamp did not start\n"), 1;
    dir.WriteFile("QuorvelServer.ini", "[QuorvelServer]\r\nListenOnSocket=1\r\nWebRemote=1\r\n"
                                       "PathToApplication0=" +
                                           winamp.ExePath() + "\r\n");
    CServerProcess server;
    CBenchPhone phone;
    if (!server.Start(dir.Path()) || !server.WaitForLog("Web remote: listening") ||
        !phone.Connect(7654, 10000))
        return fprintf(stderr, "bench: the server did not start\n"), 1;
    TestBrowser browser = PairBrowser(server);
    CChannelClient page;
    if (!OpenChannel(page, browser, "127.0.0.1") ||
        page.Request("\"op\":\"status\"").find("\"ok\":true") == std::string::npos)
        return fprintf(stderr, "bench: the channel did not open\n"), 1;
    WebContext context = {&page, &phone};

    printf("%d VOLM per round, each answered before the next: live channel and TCP link\n",
           COMMANDS);
    double fRatio =
        AlternatingRatio("channel", ThroughChannel, "tcp", ThroughTcp, &context, ROUNDS);
    printf("VOLM ratio (median channel / tcp): %.2f\n", fRatio);

    std::vector<double> delays;
    while (!page.NextPush(1000).empty())
        ;
    for (int i = 0; i < PUSHES; i++)
        delays.push_back(PushDelay(page, i));
    printf("a change pushed to the channel, median of %d: %.1f ms (the state is read every "
           "250 ms, or at once when the player tells)\n",
           PUSHES, Median(delays) * 1000);

    std::vector<double> loads;
    for (int i = 0; i < PAGE_LOADS; i++)
        loads.push_back(PageLoad());
    printf("page's first load (3 files, one connection), median of %d: %.2f ms\n", PAGE_LOADS,
           Median(loads) * 1000);

    // Idle channels: one per browser, each paired anew, from addresses of their own.
    ServerMemory before = ReadServerMemory(server.ProcessHandle());
    CChannelClient idle[4];
    int nOpen = 0;
    for (int i = 0; i < 4; i++)
    {
        std::string from = "127.0.0." + std::to_string(2 + i);
        nOpen += OpenChannel(idle[i], PairBrowser(server), from.c_str());
    }
    ServerMemory after = ReadServerMemory(server.ProcessHandle());
    printf("memory: %.1f MB committed before, %.1f MB with %d more idle channels (+%.2f MB each)\n",
           before.fPrivateMb, after.fPrivateMb, nOpen,
           nOpen ? (after.fPrivateMb - before.fPrivateMb) / nOpen : 0.0);
    return fRatio > 0 && Median(delays) > 0 ? 0 : 1;
}

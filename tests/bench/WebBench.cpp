// Benchmark of the web remote: VOLM through the web API (a POST on a kept-alive
// connection, answered when done) against the same VOLM over the 1.72 TCP link
// (VOLM and a CHCK, answered "Y" when done), in alternating rounds; the page's
// first load on loopback (the page, its CSS and script on one connection); and
// the server's memory with 16 idle connections.
#include <stdio.h>
#include <string>
#include "BenchSupport.h"
#include "FakeWinamp.h"
#include "ServerProcess.h"
#include "WebClient.h"

static const int ROUNDS = 9;
static const int COMMANDS = 500;
static const int PAGE_LOADS = 50;

struct WebContext
{
    CPhoneClient* pPage;
    CBenchPhone* pPhone;
    std::string token;
};

static double ThroughWeb(void* pParam)
{
    WebContext& context = *static_cast<WebContext*>(pParam);
    double fStart = Now();
    for (int i = 0; i < COMMANDS; i++)
    {
        CWebResponse response;
        std::string form = "value=" + std::to_string(i & 0xFF);
        if (!context.pPage->Send(WebRequestBytes("POST", "/api/volume", form, context.token)) ||
            !ReadWebResponse(*context.pPage, &response) || response.nStatus != 200)
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

static double PageLoad(const std::string& token)
{
    CPhoneClient browser;
    double fStart = Now();
    if (!browser.ConnectTcp("127.0.0.1", WEB_PORT, 10000))
        return -1;
    const char* const files[] = {"/", "/app.css", "/app.js"};
    for (const char* pszFile : files)
    {
        CWebResponse response;
        if (!browser.Send(WebRequestBytes("GET", pszFile, "", token)) ||
            !ReadWebResponse(browser, &response) || response.nStatus != 200)
            return -1;
    }
    return Now() - fStart;
}

int main()
{
    CTempDir dir;
    CFakeWinamp winamp(dir);
    winamp.Prepare("record=0\n");
    if (!winamp.Start())
        return fprintf(stderr, "bench: the fake Winamp did not start\n"), 1;
    dir.WriteFile("QuorvelServer.ini", "[QuorvelServer]\r\nListenOnSocket=1\r\nWebRemote=1\r\n"
                                       "PathToApplication0=" +
                                           winamp.ExePath() + "\r\n");
    CServerProcess server;
    CBenchPhone phone;
    CPhoneClient page;
    if (!server.Start(dir.Path()) || !server.WaitForLog("Web remote: listening") ||
        !phone.Connect(7654, 10000) || !page.ConnectTcp("127.0.0.1", WEB_PORT, 10000))
        return fprintf(stderr, "bench: the server did not start\n"), 1;
    // Paired by key; the JSON routes this bench times are the live channel's to replace
    // (until then they answer 401, and the bench says it failed).
    WebContext context = {&page, &phone, PairWithServer(server).idHex};

    printf("%d VOLM per round, each answered before the next: web API and TCP link\n", COMMANDS);
    double fRatio = AlternatingRatio("web", ThroughWeb, "tcp", ThroughTcp, &context, ROUNDS);
    printf("VOLM ratio (median web / tcp): %.2f (target <= 2)\n", fRatio);

    std::vector<double> loads;
    for (int i = 0; i < PAGE_LOADS; i++)
        loads.push_back(PageLoad(context.token));
    printf("page's first load (3 files, one connection), median of %d: %.2f ms\n", PAGE_LOADS,
           Median(loads) * 1000);

    ServerMemory before = ReadServerMemory(server.ProcessHandle());
    // Four from each of four addresses (an address holds four at most); each has
    // its thread once it has been answered.
    CPhoneClient idle[16];
    int nServed = 0;
    for (int i = 0; i < 16; i++)
    {
        std::string from = "127.0.0." + std::to_string(2 + i / 4);
        CWebResponse css;
        nServed += idle[i].ConnectTcp("127.0.0.1", WEB_PORT, 10000, from.c_str()) &&
                   idle[i].Send(WebRequestBytes("GET", "/app.css")) &&
                   ReadWebResponse(idle[i], &css);
    }
    ServerMemory after = ReadServerMemory(server.ProcessHandle());
    printf("memory: %.1f MB committed before, %.1f MB with %d idle connections (+%.1f MB)\n",
           before.fPrivateMb, after.fPrivateMb, nServed, after.fPrivateMb - before.fPrivateMb);
    return fRatio > 0 ? 0 : 1;
}

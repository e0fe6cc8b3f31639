// Benchmark: this build's server against another commit's (tools/bench.sh builds
// the last one before the core was restructured), in alternating rounds: 2,000
// VOLM to the fake Winamp 2 and a CHCK, LIST of 50,000 files, DOWN of 200 MB,
// and 500 volume requests of the page: over this server's live channel, and as
// POST /api/volume on one kept-alive connection to the other (a server of
// before the channel). Each should take no more than 5% longer than on the other.
//   bench_versus.exe OTHER_SERVER_EXE [ROUNDS]
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include "BenchSupport.h"
#include "ChannelClient.h"
#include "FakeWinamp.h"
#include "WebClient.h"

static const long long FILE_BYTES = 200LL * 1024 * 1024;

struct CVersus
{
    CServerPair pair;
    std::string bigFile;
    std::string tokens[2]; // the other server's cookie
    TestBrowser browser;   // this server's paired browser
    double (*pRound)(CVersus& versus, int nServer);
    std::vector<double> seconds[2];
};

// A phone on nServer's link, answered once: the server has taken it.
static bool ConnectPhone(CVersus& versus, int nServer, CBenchPhone& phone)
{
    std::string reply;
    return versus.pair.Connect(nServer, phone) && phone.Send("CHCK") && phone.Receive(1, reply);
}

static double VolumeRound(CVersus& versus, int nServer)
{
    CBenchPhone phone;
    std::string commands, reply;
    for (int i = 0; i < 2000; i++)
        commands += std::string("VOLM") + static_cast<char>(i & 0xFF);
    if (!ConnectPhone(versus, nServer, phone))
        return -1;
    double fStart = Now();
    if (!phone.Send(commands + "CHCK") || !phone.Receive(1, reply))
        return -1;
    return Now() - fStart;
}

static double ListRound(CVersus& versus, int nServer)
{
    CBenchPhone phone;
    if (!ConnectPhone(versus, nServer, phone))
        return -1;
    double fStart = Now();
    if (!phone.Send("LIST") || phone.ReadListing() != 52041)
        return -1;
    return Now() - fStart;
}

static double DownRound(CVersus& versus, int nServer)
{
    CBenchPhone phone;
    std::string tag;
    if (!ConnectPhone(versus, nServer, phone))
        return -1;
    double fStart = Now();
    if (!phone.Send("DOWN" + EncodeName(versus.bigFile)) || !phone.Receive(7, tag) ||
        !phone.Drain(FILE_BYTES))
        return -1;
    return Now() - fStart;
}

static bool PostVolume(CPhoneClient& page, const std::string& token, int nValue)
{
    CWebResponse response;
    std::string form = "value=" + std::to_string(nValue & 0xFF);
    return page.Send(WebRequestBytes("POST", "/api/volume", form, token)) &&
           ReadWebResponse(page, &response) && response.nStatus == 200;
}

static double ChannelRound(CVersus& versus)
{
    CChannelClient page;
    if (!page.Connect() || !page.Open(versus.browser.id, versus.browser.K) ||
        page.Request("\"op\":\"volume\",\"value\":0").find("\"ok\":true") == std::string::npos)
        return -1;
    double fStart = Now();
    for (int i = 1; i <= 500; i++)
    {
        std::string request = "\"op\":\"volume\",\"value\":" + std::to_string(i & 0xFF);
        if (page.Request(request).find("\"ok\":true") == std::string::npos)
            return -1;
    }
    return Now() - fStart;
}

static double WebRound(CVersus& versus, int nServer)
{
    if (nServer == 0)
        return ChannelRound(versus);
    CPhoneClient page;
    if (!page.ConnectTcp("127.0.0.1", WEB_PORT + nServer, WAIT_LIMIT_MS) ||
        !PostVolume(page, versus.tokens[nServer], 0))
        return -1;
    double fStart = Now();
    for (int i = 1; i <= 500; i++)
        if (!PostVolume(page, versus.tokens[nServer], i))
            return -1;
    return Now() - fStart;
}

// The cookie's token for the code the other server's dialog shows (a server of
// before the pairing key); "" when not paired.
static std::string Pair(const CServerProcess& server, unsigned short nPort)
{
    std::string request = WebRequestBytes("POST", "/api/pair", "code=" + ReadPairingKey(server));
    CPhoneClient browser;
    CWebResponse response;
    if (!browser.ConnectTcp("127.0.0.1", nPort, WAIT_LIMIT_MS) || !browser.Send(request) ||
        !ReadWebResponse(browser, &response) || response.nStatus != 200)
        return std::string();
    std::string cookie = response.Header("Set-Cookie");
    return cookie.substr(cookie.find('=') + 1, 64);
}

static double Round(void* pVersus, int nServer)
{
    CVersus& versus = *static_cast<CVersus*>(pVersus);
    double fSeconds = versus.pRound(versus, nServer);
    if (fSeconds <= 0)
        versus.pair.Relisten();
    else
        versus.seconds[nServer].push_back(fSeconds);
    return fSeconds;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return fprintf(stderr, "usage: bench_versus OTHER_SERVER_EXE [ROUNDS]\n"), 2;
    int nRounds = argc > 2 ? atoi(argv[2]) : 9;
    CTempDir files;
    CVersus versus;
    printf("making 50,000 files in 2,000 folders and a file of 200 MB...\n");
    fflush(stdout);
    MakeCollection(files.File("Collection"));
    versus.bigFile = files.File("big.bin");
    MakeBigFile(versus.bigFile, FILE_BYTES);
    CFakeWinamp winamp(files);
    winamp.Prepare("record=0\n");
    if (!winamp.Start() ||
        !versus.pair.Start("WebRemote=1\r\nPath=" + files.File("Collection") +
                               "\r\nPathToApplication0=" + winamp.ExePath() + "\r\n",
                           argv[1]))
        return fprintf(stderr, "bench: the servers did not start\n"), 1;
    if (!versus.pair.servers[0].WaitForLog("Web remote: listening") ||
        (versus.browser = PairBrowser(versus.pair.servers[0])).id.empty() ||
        !versus.pair.servers[1].WaitForLog("Web remote: listening") ||
        (versus.tokens[1] = Pair(versus.pair.servers[1], WEB_PORT + 1)).empty())
        return fprintf(stderr, "bench: no pairing with the servers\n"), 1;

    const struct
    {
        const char* pszName;
        double (*pRound)(CVersus& versus, int nServer);
    } benchmarks[] = {{"2,000 VOLM and a CHCK", VolumeRound},
                      {"LIST of 52,041 records", ListRound},
                      {"DOWN of 200 MB", DownRound},
                      {"500 volume requests (this: live channel, base: POST)", WebRound}};
    for (const auto& benchmark : benchmarks)
    {
        printf("%s, %d rounds on each server:\n", benchmark.pszName, nRounds);
        versus.pRound = benchmark.pRound;
        versus.seconds[0].clear();
        versus.seconds[1].clear();
        double fRatio = AlternatingRatio(
            "this", [](void* pVersus) { return Round(pVersus, 0); }, "base",
            [](void* pVersus) { return Round(pVersus, 1); }, &versus, nRounds);
        if (fRatio <= 0)
            return 1;
        printf("%s: this %.3f s, base %.3f s (medians); this / base %.3f (target <= 1.05)\n",
               benchmark.pszName, Median(versus.seconds[0]), Median(versus.seconds[1]), fRatio);
        fflush(stdout);
    }
    return 0;
}

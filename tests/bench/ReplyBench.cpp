// Benchmark: each reply's round trip, and a mixed run of many short phone
// connections, on this build's server and on another (tools/bench.sh builds the
// start commit's) in alternating rounds. The phone acknowledges as TCP stacks do
// by default: no TCP_NODELAY and no quick acknowledgements on its socket.
//   bench_replies.exe OTHER_SERVER_EXE [PHONES_PER_ROUND]
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include "BenchSupport.h"
#include "FakeWinamp.h"
#include "PhoneCommands.h"
#include "ServerProcess.h"

static const size_t LISTING = 0, NO_REPLY = static_cast<size_t>(-1);

struct Query
{
    const char* pszName;
    std::string bytes;
    size_t nReply; // its length, LISTING or NO_REPLY
};

// The mixed run's phones on a pair of servers, and the time each server took.
struct CMixedRun : CServerPair
{
    std::vector<Query> mix;
    int nPhones = 0;
    double fSeconds[2] = {0, 0};    // of the mixed rounds so far
    int nRounds[2] = {0, 0};        // those done, one done again included
    bool bPhoneSendsAtOnce = false; // TCP_NODELAY on the phone; it acknowledges as usual
};

static bool RoundTrip(CBenchPhone& phone, const Query& query)
{
    std::string reply;
    if (!phone.Send(query.bytes))
        return false;
    if (query.nReply == LISTING)
        return phone.ReadListing() >= 0;
    return query.nReply == NO_REPLY || phone.Receive(query.nReply, reply);
}

// Each query's median round trip over 20 rounds of 10 on each server, in the
// order this, base, base, this, ...; in ms. Under load, 10 rounds of each left
// medians a quarter apart even between two copies of one server.
static void PrintRoundTrips(CServerPair& pair, const std::vector<Query>& queries)
{
    std::vector<std::vector<double>> times[2];
    times[0].resize(queries.size());
    times[1].resize(queries.size());
    for (int nRound = 0; nRound < 40; nRound++)
    {
        int nServer = (nRound + 1) / 2 % 2;
        CBenchPhone phone;
        if (!pair.Connect(nServer, phone))
            return (void)printf("  no connection\n");
        for (size_t q = 0; q < queries.size() * 10; q++)
        {
            double fStart = Now();
            // A command without a reply is timed until a CHCK after it is answered.
            const Query& query = queries[q / 10];
            if (!RoundTrip(phone, query) ||
                (query.nReply == NO_REPLY && !RoundTrip(phone, {"", "CHCK", 1})))
                return (void)printf("  %s failed\n", query.pszName);
            times[nServer][q / 10].push_back((Now() - fStart) * 1000);
        }
    }
    printf("  %-15s %8s %8s\n", "round trip, ms", "this", "base");
    for (size_t q = 0; q < queries.size(); q++)
        printf("  %-15s %8.2f %8.2f\n", queries[q].pszName, Median(times[0][q]),
               Median(times[1][q]));
}

// One server's share of a mixed round: nPhones phones of 100 commands each.
static double MixedRound(CMixedRun& pair, int nServer)
{
    double fStart = Now();
    for (int nPhone = 0; nPhone < pair.nPhones; nPhone++)
    {
        CBenchPhone phone;
        if (!pair.Connect(nServer, phone))
            return -1;
        if (pair.bPhoneSendsAtOnce)
            phone.SendAtOnce();
        for (int i = 0; i < 100; i++)
        {
            if (!RoundTrip(phone, pair.mix[(nPhone + i) % pair.mix.size()]))
                return pair.Relisten(), -1;
        }
    }
    double fSeconds = Now() - fStart;
    pair.fSeconds[nServer] += fSeconds;
    pair.nRounds[nServer]++;
    return fSeconds;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return fprintf(stderr, "usage: bench_replies OTHER_SERVER_EXE [PHONES_PER_ROUND]\n"), 2;
    CTempDir files;
    CreateDirectoryA(files.File("ten").c_str(), NULL);
    for (int i = 0; i < 10; i++)
        files.WriteFile("ten\\Track " + std::to_string(i) + ".mp3", std::string(1000 * i, 'q'));
    std::string playlist;
    for (int i = 0; i < 100; i++)
        playlist += "Z:\\music\\Artist\\Album\\" + std::to_string(100 + i) + " Title.mp3\n";
    files.WriteFile("list.m3u", playlist);
    std::string file = EncodeName(files.File("ten\\Track 9.mp3"));
    std::string dlst = "DLST" + EncodeName(files.File("ten"));
    CFakeWinamp winamp(files);
    winamp.Prepare("record=0\ncaption=Song - Winamp\nstate=1\nlength=180\nm3u_source=" +
                   files.File("list.m3u") + "\n");
    printf("Winamp 2 (the fake), a folder of 10 files, a playlist of 100 entries:\n");
    {
        CServerPair pair;
        if (!winamp.Start() ||
            !pair.Start("PathToApplication0=" + winamp.ExePath() + "\r\n", argv[1]))
            return fprintf(stderr, "bench: the servers did not start\n"), 1;
        PrintRoundTrips(pair, {{"CHCK", "CHCK", 1},
                               {"FINF", "FINF" + file, 11},
                               {"DLST folder", dlst, LISTING},
                               {"DLST: (none)", "DLST" + EncodeName(""), LISTING},
                               {"PLST 100", "PLST", 9 + playlist.size() + 1},
                               {"DOWN 9000 B", "DOWN" + file, 7 + 9000},
                               {"VOLM, CHCK", "VOLM\x80", NO_REPLY},
                               {"INFO", "INFO", 22}});
    }
    // Windows Media Player answers INFO at once; Winamp 2 makes it wait 50 ms by rule.
    CMixedRun mixed;
    if (!mixed.Start("DefaultApplication=2\r\n", argv[1]))
        return fprintf(stderr, "bench: the servers did not start\n"), 1;
    printf("Windows Media Player, no playlist:\n");
    PrintRoundTrips(mixed, {{"PLST", "PLST", 19}});

    mixed.nPhones = argc > 2 ? atoi(argv[2]) : 100;
    mixed.mix = {{"CHCK", "CHCK", 1},
                 {"VERS", "VERS", 9},
                 {"INFO", "INFO", 18},
                 {"INF2", "INF2", 19},
                 {"VOLM", "VOLM\x80", NO_REPLY},
                 {"PLEN", "PLEN", 9},
                 {"DLST", dlst, LISTING},
                 {"FINF", "FINF" + file, 11}};
    // A phone with its send delay on holds the command after VOLM (no reply) until
    // VOLM is acknowledged, late; one that sends at once does not wait.
    for (bool bAtOnce : {false, true})
    {
        mixed.bPhoneSendsAtOnce = bAtOnce;
        mixed.fSeconds[0] = mixed.fSeconds[1] = 0;
        mixed.nRounds[0] = mixed.nRounds[1] = 0;
        printf("mixed run, phones %s, 10 rounds of %d phones of 100 commands on each server:\n",
               bAtOnce ? "sending at once" : "with their send delay", mixed.nPhones);
        double fRatio = AlternatingRatio(
            "this", [](void* pPair) { return MixedRound(*static_cast<CMixedRun*>(pPair), 0); },
            "base", [](void* pPair) { return MixedRound(*static_cast<CMixedRun*>(pPair), 1); },
            &mixed, 10);
        if (fRatio <= 0)
            return 1;
        printf("mixed run: this %.0f commands/s, base %.0f; the median round %.1fx the base's "
               "commands per second (target >= 3)\n",
               100.0 * mixed.nPhones * mixed.nRounds[0] / mixed.fSeconds[0],
               100.0 * mixed.nPhones * mixed.nRounds[1] / mixed.fSeconds[1], 1 / fRatio);
    }
    return 0;
}

// Benchmark: a soak of both links at once, TCP and serial (the rig's COM13 to the
// server's COM3), each sending the mixed stream of queries as fast as the server
// answers, the TCP phone also switching to a slide show and back now and then
// (PLAY of a presentation, NEXT, STOP, PLAY of a song). The event log is first
// filled to its cap with its shortest lines: the log's edit keeps some memory for
// each line it shows, so its most lines come first, and what the stream's longer
// lines free is not taken for growth. After a warm-up the server's memory is
// sampled and its slope printed in MB an hour. QUORVEL_SOAK_MINUTES sets the
// length of the stream (5), a third of it warm-up; QUORVEL_SOAK_PART=stream or
// switches runs that part alone (switches on TCP only), to tell which grows.
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include "BenchSupport.h"
#include "FakeAutomation.h"
#include "FakeWinamp.h"
#include "PhoneClient.h"
#include "PhoneCommands.h"

static const DWORD REPLY_LIMIT_MS = 20000;
static const DWORD SAMPLE_EVERY_MS = 2000;
static const size_t LISTING = static_cast<size_t>(-1);
// A slide show every this many rounds of the stream on the TCP link.
static const int ROUNDS_PER_SWITCH = 2;

struct Query
{
    std::string bytes;
    size_t nReply; // its length, or LISTING
};

struct SoakState
{
    std::vector<Query> stream;
    bool bSwitches;
    std::string switchToShow[2]; // PLAY of a presentation for the viewer, then for PowerPoint
    std::string switchBack;      // NEXT, STOP, PLAY of a song, CHCK
    // Held by a switch alone and shared by the queries, so that no reply is read
    // while another kind than Winamp 2's answers.
    SRWLOCK lock;
    volatile LONG bStop;
    volatile LONG nCommands;
    volatile LONG nSwitches;
    volatile LONG nFailures;
};

// "LISTACK", then records (a head byte and a name ending in 00) up to FF 00.
static bool ReadListing(CPhoneClient& phone)
{
    std::string bytes;
    if (!phone.Receive(7, bytes, REPLY_LIMIT_MS) || bytes != "LISTACK")
        return false;
    for (;;)
    {
        if (!phone.Receive(1, bytes, REPLY_LIMIT_MS))
            return false;
        if (bytes[0] == '\xFF')
            return phone.Receive(1, bytes, REPLY_LIMIT_MS);
        if (!phone.ReceiveThrough('\0', bytes, REPLY_LIMIT_MS))
            return false;
    }
}

static bool Ask(SoakState& state, CPhoneClient& phone, const Query& query)
{
    AcquireSRWLockShared(&state.lock);
    std::string reply;
    bool bAnswered = phone.Send(query.bytes) &&
                     (query.nReply == LISTING ? ReadListing(phone)
                                              : phone.Receive(query.nReply, reply, REPLY_LIMIT_MS));
    ReleaseSRWLockShared(&state.lock);
    return bAnswered;
}

static bool SwitchToShowAndBack(SoakState& state, CPhoneClient& phone, int nSwitch)
{
    AcquireSRWLockExclusive(&state.lock);
    std::string reply;
    bool bDone = phone.Send(state.switchToShow[nSwitch % 2] + state.switchBack) &&
                 phone.Receive(1, reply, REPLY_LIMIT_MS);
    ReleaseSRWLockExclusive(&state.lock);
    return bDone;
}

static bool Open(CPhoneClient& phone, bool bSerial)
{
    phone.Close();
    return bSerial ? phone.OpenComPort("COM13")
                   : phone.ConnectTcp("127.0.0.1", 7654, REPLY_LIMIT_MS);
}

// Runs the stream on one link until told to stop; a failed reply opens the link again.
template <bool SERIAL> static DWORD WINAPI DriveLink(void* pState)
{
    SoakState& state = *static_cast<SoakState*>(pState);
    CPhoneClient phone;
    bool bOpen = Open(phone, SERIAL);
    for (int nRound = 0; !state.bStop; nRound++)
    {
        for (size_t i = 0; bOpen && i < state.stream.size() && !state.bStop; i++)
        {
            bOpen = Ask(state, phone, state.stream[i]);
            InterlockedIncrement(&state.nCommands);
        }
        if (!SERIAL && bOpen && state.bSwitches && nRound % ROUNDS_PER_SWITCH == 0)
        {
            bOpen = SwitchToShowAndBack(state, phone, state.nSwitches);
            InterlockedIncrement(&state.nSwitches);
        }
        if (bOpen)
            continue;
        InterlockedIncrement(&state.nFailures);
        Sleep(500);
        bOpen = Open(phone, SERIAL);
    }
    return 0;
}

static LRESULT LogLength(const CServerProcess& server)
{
    DWORD_PTR nLength = 0;
    SendMessageTimeoutA(server.Control(EVENT_LOG_ID), WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL,
                        REPLY_LIMIT_MS, &nLength);
    return static_cast<LRESULT>(nLength);
}

// CHCK logs "Sent ACK to phone": until the log has been cut back from its cap once.
static bool FillEventLog(const CServerProcess& server)
{
    CPhoneClient phone;
    std::string checks, reply;
    for (int i = 0; i < 500; i++)
        checks += "CHCK";
    if (!phone.ConnectTcp("127.0.0.1", 7654, REPLY_LIMIT_MS))
        return false;
    for (LRESULT nLongest = 0;;)
    {
        if (!phone.Send(checks) || !phone.Receive(500, reply, REPLY_LIMIT_MS))
            return false;
        LRESULT nLength = LogLength(server);
        if (nLength < nLongest)
            return true;
        nLongest = nLength;
    }
}

// The least-squares slope of y over x.
static double Slope(const std::vector<double>& x, const std::vector<double>& y)
{
    double fMeanX = 0, fMeanY = 0;
    for (size_t i = 0; i < x.size(); i++)
        fMeanX += x[i] / x.size(), fMeanY += y[i] / x.size();
    double fCovariance = 0, fVariance = 0;
    for (size_t i = 0; i < x.size(); i++)
    {
        fCovariance += (x[i] - fMeanX) * (y[i] - fMeanY);
        fVariance += (x[i] - fMeanX) * (x[i] - fMeanX);
    }
    return fVariance > 0 ? fCovariance / fVariance : 0;
}

static void MakeFiles(CTempDir& dir, SoakState& state)
{
    CreateDirectoryA(dir.File("ten").c_str(), NULL);
    CreateDirectoryA(dir.File("ten\\Album").c_str(), NULL);
    for (int i = 0; i < 10; i++)
        dir.WriteFile("ten\\Track " + std::to_string(i) + ".mp3", std::string(1000 * i, 'q'));
    // Not empty: the fake viewer hands back no show for an empty file.
    dir.WriteFile("show.ppt", "slides");
    dir.WriteFile("show.pps", "slides");
    std::string playlist;
    for (int i = 0; i < 10; i++)
        playlist += "Z:\\music\\Artist\\Album\\" + std::to_string(100 + i) + " Title.mp3\n";
    dir.WriteFile("list.m3u", playlist);
    std::string song = EncodeName(dir.File("ten\\Track 9.mp3"));
    state.stream = {{"INFO", 22},
                    {"INF2", 23},
                    {"VOLM\x80"
                     "CHCK",
                     1},
                    {"PLST", 9 + playlist.size() + 1},
                    {"DINF", 19},
                    {"DLST" + EncodeName(dir.File("ten")), LISTING},
                    {"FINF" + song, 11},
                    {"PLAY" + song + "CHCK", 1},
                    {"CHCK", 1},
                    {"LIST", LISTING}};
    state.switchToShow[0] = "PLAY" + EncodeName(dir.File("show.ppt"));
    state.switchToShow[1] = "PLAY" + EncodeName(dir.File("show.pps"));
    state.switchBack = "NEXTSTOPPLAY" + song + "CHCK";
}

int main()
{
    const char* pszMinutes = getenv("QUORVEL_SOAK_MINUTES");
    double fMinutes = pszMinutes ? atof(pszMinutes) : 5;
    double fWarmUp = fMinutes / 3 > 1 ? fMinutes / 3 : 1;
    if (fMinutes <= fWarmUp)
        return fprintf(stderr, "bench: QUORVEL_SOAK_MINUTES must be more than 1\n"), 2;
    CTempDir dir;
    SoakState state = {};
    InitializeSRWLock(&state.lock);
    MakeFiles(dir, state);
    std::string part = getenv("QUORVEL_SOAK_PART") ? getenv("QUORVEL_SOAK_PART") : "";
    state.bSwitches = part != "stream";
    if (part == "switches")
        state.stream.clear();
    CFakeAutomation automation(dir);
    automation.Register(5);
    CFakeWinamp::EndAll();
    CFakeWinamp winamp(dir);
    winamp.Prepare("record=0\ncaption=Song - Winamp\nstate=1\nlength=180\nm3u_source=" +
                   dir.File("list.m3u") + "\n");
    dir.WriteFile("QuorvelServer.ini",
                  "[QuorvelServer]\r\nListenOnSocket=1\r\nPath=" + dir.File("ten") +
                      "\r\nPathToApplication0=" + winamp.ExePath() +
                      "\r\nExtensionsHandled3=ppt\r\nExtensionsHandled4=pps\r\n");
    CServerProcess server;
    if (!winamp.Start() || !server.Start(dir.Path()))
        return fprintf(stderr, "bench: the fake Winamp or the server did not start\n"), 1;
    server.SetControlText(COM_PORT_ID, "COM3");
    server.Click(CONNECT_ID);
    if (!FillEventLog(server))
        return fprintf(stderr, "bench: the event log could not be filled\n"), 1;
    printf("the event log has reached its cap; soak of %.0f minutes, both links, the mixed stream "
           "and a slide show every %d rounds "
           "on TCP; memory sampled after %.0f minutes of warm-up\n",
           fMinutes, ROUNDS_PER_SWITCH, fWarmUp);
    fflush(stdout);
    HANDLE threads[2] = {CreateThread(NULL, 0, DriveLink<false>, &state, 0, NULL),
                         part == "switches" ? NULL
                                            : CreateThread(NULL, 0, DriveLink<true>, &state, 0, NULL)};
    std::vector<double> hours, privateMb, workingMb;
    double fStart = Now();
    LONG nCommandsAtWarm = 0, nSwitchesAtWarm = 0;
    for (double fElapsed = 0; fElapsed < fMinutes * 60; fElapsed = Now() - fStart)
    {
        Sleep(SAMPLE_EVERY_MS);
        if (Now() - fStart < fWarmUp * 60)
            continue;
        if (hours.empty())
            nCommandsAtWarm = state.nCommands, nSwitchesAtWarm = state.nSwitches;
        ServerMemory memory = ReadServerMemory(server.ProcessHandle());
        hours.push_back((Now() - fStart) / 3600);
        privateMb.push_back(memory.fPrivateMb);
        workingMb.push_back(memory.fWorkingMb);
    }
    state.bStop = 1;
    WaitForMultipleObjects(threads[1] ? 2 : 1, threads, TRUE, 2 * REPLY_LIMIT_MS);
    double fMeasured = (hours.back() - hours.front()) * 3600;
    printf("  after warm-up: %.0f commands/s, %.1f slide-show switches/s, %ld failed replies\n",
           (state.nCommands - nCommandsAtWarm) / fMeasured,
           (state.nSwitches - nSwitchesAtWarm) / fMeasured, state.nFailures);
    printf("  event log %ld characters at the end\n", static_cast<long>(LogLength(server)));
    printf("  private memory %.2f MB to %.2f MB, working set %.2f MB to %.2f MB\n",
           privateMb.front(), privateMb.back(), workingMb.front(), workingMb.back());
    printf("  slope: private %.2f MB an hour, working set %.2f MB an hour (target under 0.5)\n",
           Slope(hours, privateMb), Slope(hours, workingMb));
    server.Kill();
    CFakeWinamp::EndAll();
    return 0;
}

// By-hand check of stopping a busy link: with a LIST of 50,000 files, a DOWN of
// 200 MB, an INFO waiting for the track's length or a STOP waiting for Winamp to
// start under way, how long unticking "Listen on Internet socket" (TCP), Connect
// (serial) and Exit take. A stop that fell back to terminating the worker would
// take the full 1 s grace period. The server's private memory is read before and
// after 20 repetitions of each.
#include <stdio.h>
#include <algorithm>
#include <string>
#include "BenchSupport.h"
#include "FakeWinamp.h"
#include "PhoneClient.h"
#include "ServerProcess.h"

static const int REPETITIONS = 20, EXIT_REPETITIONS = 5;
static const DWORD UNDER_WAY_MS = 300;

struct StopSetup
{
    const char* pszName;
    std::string command;      // LIST, DOWN of the big file, INFO, STOP
    std::string settings;     // for QuorvelServer.ini, beyond what every setup has
    std::string winamp;       // the fake's settings
    bool bWinampStartsSlowly; // the server starts it; each stop leaves one starting
};

static std::string g_emptyFolder;

static void Report(const char* pszWhat, const std::vector<double>& times)
{
    double fMax = times.empty() ? -1 : *std::max_element(times.begin(), times.end());
    printf("  %-40s median %4.0f ms, longest %4.0f ms over %u\n", pszWhat, Median(times) * 1000,
           fMax * 1000, static_cast<unsigned>(times.size()));
    fflush(stdout);
}

// Replaces the browse tree with an empty folder's, so that the memory compared
// holds no listing's tree.
static double SettledPrivateMb(CServerProcess& server)
{
    CBenchPhone phone;
    if (phone.Connect(7654, 10000))
    {
        phone.Send("DLST" + EncodeName(g_emptyFolder));
        phone.ReadListing();
    }
    phone.Close();
    Sleep(500);
    return ReadServerMemory(server.ProcessHandle()).fPrivateMb;
}

static double TimedClick(CServerProcess& server, int nId)
{
    double fStart = Now();
    server.Click(nId);
    return Now() - fStart;
}

// A Winamp the stopped worker was starting goes on starting: end it once its
// window is there, so that the next repetition starts one again.
static void EndStartedWinamp(const StopSetup& setup)
{
    if (!setup.bWinampStartsSlowly)
        return;
    for (int i = 0; i < 200 && !FindWindowA("Winamp v1.x", NULL); i++)
        Sleep(50);
    CFakeWinamp::EndAll();
}

// A whole listing of the collection: the largest tree any stopped one can leave.
static void ListCompletely(const StopSetup& setup)
{
    CBenchPhone phone;
    if (phone.Connect(7654, 10000) && phone.Send("LIST"))
        phone.ReadListing();
    EndStartedWinamp(setup);
}

static void UntickDuring(CServerProcess& server, const StopSetup& setup, std::vector<double>& times)
{
    CBenchPhone phone;
    if (!phone.Connect(7654, 10000) || !phone.Send(setup.command))
        return;
    Sleep(UNDER_WAY_MS);
    times.push_back(TimedClick(server, LISTEN_ON_SOCKET_ID));
    server.Click(LISTEN_ON_SOCKET_ID);
    EndStartedWinamp(setup);
}

static void ConnectDuring(CServerProcess& server, const StopSetup& setup,
                          std::vector<double>& times)
{
    CPhoneClient serial;
    if (!serial.OpenComPort("COM13") || !serial.Send(setup.command))
        return;
    Sleep(UNDER_WAY_MS);
    server.SetControlText(COM_PORT_ID, "COM3");
    times.push_back(TimedClick(server, CONNECT_ID));
    EndStartedWinamp(setup);
}

static void ExitDuring(const std::string& folder, const StopSetup& setup,
                       std::vector<double>& times, int& nHung)
{
    CServerProcess server;
    CBenchPhone phone;
    if (!server.Start(folder) || !phone.Connect(7654, 10000) || !phone.Send(setup.command))
        return;
    Sleep(UNDER_WAY_MS);
    double fStart = Now();
    server.Click(EXIT_ID);
    DWORD nExitCode = 0;
    if (server.WaitForExit(30000, &nExitCode))
        times.push_back(Now() - fStart);
    else
        nHung++;
    EndStartedWinamp(setup);
}

static void MeasureStops(const CTempDir& dir, const StopSetup& setup)
{
    printf("%s under way:\n", setup.pszName);
    const std::string& folder = dir.Path();
    CFakeWinamp::EndAll();
    CFakeWinamp winamp(dir);
    winamp.Prepare(setup.winamp);
    if (!setup.bWinampStartsSlowly && !winamp.Start())
    {
        fprintf(stderr, "bench: the fake Winamp did not start\n");
        return;
    }
    dir.WriteFile("QuorvelServer.ini", "[QuorvelServer]\r\nListenOnSocket=1\r\nCommPort=COM3\r\n"
                                       "Path=" +
                                           dir.File("Collection") + "\r\nPathToApplication0=" +
                                           winamp.ExePath() + "\r\n" + setup.settings);
    CServerProcess server;
    if (!server.Start(folder))
    {
        fprintf(stderr, "bench: the server did not start\n");
        return;
    }
    // The heap keeps what it once held: so that "before" holds the most that the
    // stops can take, first a whole listing and one stop of each kind.
    ListCompletely(setup);
    std::vector<double> untick, connect, exits;
    UntickDuring(server, setup, untick);
    ConnectDuring(server, setup, connect);
    untick.clear();
    connect.clear();
    double fBefore = SettledPrivateMb(server);
    for (int i = 0; i < REPETITIONS; i++)
    {
        UntickDuring(server, setup, untick);
        ConnectDuring(server, setup, connect);
    }
    double fAfter = SettledPrivateMb(server);
    server.Kill();
    Report("unticking 1034 (TCP):", untick);
    Report("Connect (serial):", connect);
    printf("  server private memory: %.1f MB before, %.1f MB after %d of each\n", fBefore, fAfter,
           REPETITIONS);
    int nHung = 0;
    for (int i = 0; i < EXIT_REPETITIONS; i++)
        ExitDuring(folder, setup, exits, nHung);
    Report("Exit, until the process has ended:", exits);
    printf("  Exit hung %d times of %d\n", nHung, EXIT_REPETITIONS);
}

int main()
{
    CTempDir dir;
    std::string root = dir.File("Collection");
    printf("making 50,000 files in 2,000 folders and a file of 200 MB...\n");
    fflush(stdout);
    MakeCollection(root);
    MakeBigFile(dir.File("big.bin"), 200LL * 1024 * 1024);
    g_emptyFolder = dir.File("Empty");
    CreateDirectoryA(g_emptyFolder.c_str(), NULL);

    const StopSetup setups[] = {
        {"LIST of 50,000 files", "LIST", "", "record=0\n", false},
        {"DOWN of 200 MB", "DOWN" + EncodeName(dir.File("big.bin")), "", "record=0\n", false},
        {"INFO waiting for the length", "INFO", "", "record=0\nunknown_length_rounds=1000000\n",
         false},
        {"STOP waiting for Winamp to start", "STOP", "StartWinampAutomatically=1\r\n",
         "record=0\nstart_delay_ms=3000\n", true},
    };
    for (const StopSetup& setup : setups)
        MeasureStops(dir, setup);
    CFakeWinamp::EndAll();
    return 0;
}

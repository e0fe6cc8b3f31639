// Benchmark: the event log after 100,000 lines. A CHCK's round trip (median of
// many) at the start and after the lines, the log's length and whether its newest
// line is in view.
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include "BenchSupport.h"
#include "ServerProcess.h"

// The median of 1,000 CHCK round trips, one after the other.
static double CheckRoundTripMs(CBenchPhone& phone)
{
    std::vector<double> times;
    std::string reply;
    for (int i = 0; i < 1000; i++)
    {
        double fStart = Now();
        if (!phone.Send("CHCK") || !phone.Receive(1, reply))
            return -1;
        times.push_back((Now() - fStart) * 1000);
    }
    return Median(times);
}

// Waits until the window has appended every queued line: the log stops growing.
static void WaitForLogToSettle(HWND hLog)
{
    LRESULT nLength = -1;
    for (;;)
    {
        LRESULT nNow = SendMessageA(hLog, WM_GETTEXTLENGTH, 0, 0);
        if (nNow == nLength)
            return;
        nLength = nNow;
        Sleep(500);
    }
}

int main(int argc, char** argv)
{
    int nLines = argc > 1 ? atoi(argv[1]) : 100000;
    CTempDir dir;
    dir.WriteFile("QuorvelServer.ini", "[QuorvelServer]\r\nListenOnSocket=1\r\n");
    CServerProcess server;
    CBenchPhone phone;
    if (!server.Start(dir.Path()) || !phone.Connect(7654, 10000))
        return fprintf(stderr, "bench: the server did not start\n"), 1;

    double fBefore = CheckRoundTripMs(phone);
    std::string checks;
    for (int i = 0; i < 1000; i++)
        checks += "CHCK";
    double fStart = Now();
    std::string replies;
    for (int nSent = 0; nSent < nLines; nSent += 1000)
    {
        if (!phone.Send(checks) || !phone.Receive(1000, replies))
            return fprintf(stderr, "bench: the server stopped answering\n"), 1;
    }
    double fLines = Now() - fStart;
    HWND hLog = server.Control(EVENT_LOG_ID);
    WaitForLogToSettle(hLog);
    double fAfter = CheckRoundTripMs(phone);
    std::string log = server.Log();
    bool bEndsWithCheck =
        log.size() >= 19 && log.substr(log.size() - 19) == "Sent ACK to phone\r\n";
    printf("%d CHCK, each logging a line: %.1f s (%.0f lines/s)\n", nLines, fLines,
           nLines / fLines);
    printf("CHCK round trip, median of 1,000: %.2f ms at the start, %.2f ms after the lines\n",
           fBefore, fAfter);
    printf("log: %u characters, %d lines, the newest line %s, %s\n",
           static_cast<unsigned>(log.size()),
           static_cast<int>(SendMessageA(hLog, EM_GETLINECOUNT, 0, 0)) - 1,
           bEndsWithCheck ? "at the end" : "MISSING",
           server.IsLastLogLineInView() ? "in view" : "NOT IN VIEW");
    ServerMemory memory = ReadServerMemory(server.ProcessHandle());
    printf("server private memory: %.1f MB\n", memory.fPrivateMb);
    return 0;
}

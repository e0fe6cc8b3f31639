// Benchmark: commands per second from a phone through the server to the fake
// Winamp 2 (VOLM commands on one TCP connection), against the same number of
// SendMessageA calls made to the fake directly from this process. VERS, which
// neither reaches the application nor writes a log line, shows the cost of the
// command loop itself.
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include "FakeWinamp.h"
#include "PhoneClient.h"
#include "ServerProcess.h"

static double Seconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

int main(int argc, char** argv)
{
    int nCommands = argc > 1 ? atoi(argv[1]) : 10000;
    CTempDir dir;
    CFakeWinamp winamp(dir);
    winamp.Prepare("record=0\n");
    if (!winamp.Start())
        return fprintf(stderr, "bench: the fake Winamp did not start\n"), 1;
    dir.WriteFile("QuorvelServer.ini",
                  "[QuorvelServer]\r\nListenOnSocket=1\r\nPathToApplication0=" + winamp.ExePath() +
                      "\r\n");
    CServerProcess server;
    if (!server.Start(dir.Path()))
        return fprintf(stderr, "bench: the server did not start\n"), 1;
    CPhoneClient phone;
    if (!phone.ConnectTcp("127.0.0.1", 7654, 10000))
        return fprintf(stderr, "bench: cannot connect\n"), 1;

    std::string commands;
    for (int i = 0; i < nCommands; i++)
        commands += std::string("VOLM") + static_cast<char>(i & 0xFF);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    std::string reply;
    if (!phone.Send(commands + "CHCK") || !phone.Receive(1, reply, 600000) || reply != "Y")
        return fprintf(stderr, "bench: the server did not answer\n"), 1;
    QueryPerformanceCounter(&end);
    double fThroughServer = Seconds(start, end);

    std::string versions;
    for (int i = 0; i < nCommands; i++)
        versions += "VERS";
    QueryPerformanceCounter(&start);
    if (!phone.Send(versions) || !phone.Receive(9 * nCommands, reply, 600000))
        return fprintf(stderr, "bench: the server did not answer VERS\n"), 1;
    QueryPerformanceCounter(&end);
    double fVersions = Seconds(start, end);

    HWND hWinamp = FindWindowA("Winamp v1.x", NULL);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < nCommands; i++)
        SendMessageA(hWinamp, WM_USER, i & 0xFF, 122);
    QueryPerformanceCounter(&end);
    double fDirect = Seconds(start, end);

    printf("%d VOLM commands through the server: %.3f s, %.0f commands/s\n", nCommands,
           fThroughServer, nCommands / fThroughServer);
    printf("%d VERS commands through the server: %.3f s, %.0f commands/s\n", nCommands, fVersions,
           nCommands / fVersions);
    printf("%d direct SendMessageA calls:        %.3f s, %.0f calls/s\n", nCommands, fDirect,
           nCommands / fDirect);
    printf("ratio (server time / direct time):   %.1f\n", fThroughServer / fDirect);
    phone.Close();
    server.Kill();
    return 0;
}

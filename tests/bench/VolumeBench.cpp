// Benchmark: VOLM from a phone through the server to the fake Winamp 2, against
// the irreducible work of the same VOLM done directly from here: FindWindowA, the
// version query and the set-volume message. Rounds alternate; the ratio printed
// is the median of server time / direct time.
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include "BenchSupport.h"
#include "FakeWinamp.h"
#include "ServerProcess.h"

static const int ROUNDS = 5;

struct VolumeContext
{
    CBenchPhone* pPhone;
    int nCommands;
};

static double ThroughServer(void* pParam)
{
    VolumeContext& context = *static_cast<VolumeContext*>(pParam);
    std::string commands;
    for (int i = 0; i < context.nCommands; i++)
        commands += std::string("VOLM") + static_cast<char>(i & 0xFF);
    double fStart = Now();
    std::string reply;
    // The CHCK after them is answered once every VOLM is done.
    if (!context.pPhone->Send(commands + "CHCK") || !context.pPhone->Receive(1, reply))
        return -1;
    return Now() - fStart;
}

static double Direct(void* pParam)
{
    VolumeContext& context = *static_cast<VolumeContext*>(pParam);
    double fStart = Now();
    for (int i = 0; i < context.nCommands; i++)
    {
        HWND hWinamp = FindWindowA("Winamp v1.x", NULL);
        SendMessageA(hWinamp, WM_USER, 0, 0);          // the version
        SendMessageA(hWinamp, WM_USER, i & 0xFF, 122); // the volume
    }
    return Now() - fStart;
}

int main(int argc, char** argv)
{
    int nCommands = argc > 1 ? atoi(argv[1]) : 2000;
    CTempDir dir;
    CFakeWinamp winamp(dir);
    winamp.Prepare("record=0\n");
    if (!winamp.Start())
        return fprintf(stderr, "bench: the fake Winamp did not start\n"), 1;
    dir.WriteFile("QuorvelServer.ini",
                  "[QuorvelServer]\r\nListenOnSocket=1\r\nPathToApplication0=" + winamp.ExePath() +
                      "\r\n");
    CServerProcess server;
    CBenchPhone phone;
    if (!server.Start(dir.Path()) || !phone.Connect(7654, 10000))
        return fprintf(stderr, "bench: the server did not start\n"), 1;

    VolumeContext context = {&phone, nCommands};
    printf("%d VOLM per round, through the server and direct\n", nCommands);
    double fRatio = AlternatingRatio("server", ThroughServer, "direct", Direct, &context, ROUNDS);
    printf("VOLM ratio (median server / direct): %.2f (target <= 3)\n", fRatio);
    return fRatio > 0 ? 0 : 1;
}

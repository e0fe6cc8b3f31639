// Benchmark: INFO of the media-keys kind answered from a media session (the fake
// session manager, registered for the run) against INFO of the Winamp 2 kind
// (the fake Winamp 2), each on a server of its own; the round's server is the one
// listening. Rounds alternate; the ratio is the median of sessions / Winamp 2.
#include <stdio.h>
#include <string>
#include "BenchSupport.h"
#include "FakeWinamp.h"
#include "ServerProcess.h"

static const int COMMANDS = 50;
static const char* const CLASS_KEY =
    "Software\\Microsoft\\WindowsRuntime\\ActivatableClassId\\"
    "Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager";
static CServerProcess* s_pServers;
static int s_nListening = 0;

// Server 0 answers from the session ("Ana - Song", 28 bytes), 1 from Winamp ("Song", 22).
template <int SERVER> static double InfoRound(void*)
{
    if (SERVER != s_nListening)
    {
        s_pServers[s_nListening].Click(LISTEN_ON_SOCKET_ID);
        s_pServers[SERVER].Click(LISTEN_ON_SOCKET_ID);
        s_nListening = SERVER;
    }
    CBenchPhone phone;
    std::string reply;
    if (!phone.Connect(7654, 10000))
        return -1;
    double fStart = Now();
    for (int i = 0; i < COMMANDS; i++)
    {
        if (!phone.Send("INFO") || !phone.Receive(SERVER == 0 ? 28 : 22, reply))
            return -1;
    }
    return Now() - fStart;
}

int main()
{
    CTempDir dirs[2];
    CFakeWinamp winamp(dirs[1]);
    winamp.Prepare("record=0\ncaption=Song - Winamp\nstate=1\nlength=180\n");
    std::string dll = dirs[0].File("FakeMediaSessions.dll");
    CopyFileA((TestBinDir() + "\\FakeMediaSessions.dll").c_str(), dll.c_str(), FALSE);
    dirs[0].WriteFile("FakeMediaSessions.cfg", "sessions=1\ncurrent=1\napp1=Spotify.exe\n"
                                               "title1=Song\nartist1=Ana\nstatus1=4\nend1=180\n");
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, CLASS_KEY, "DllPath", REG_SZ, dll.c_str(),
                    static_cast<DWORD>(dll.size() + 1));
    dirs[0].WriteFile("QuorvelServer.ini",
                      "[QuorvelServer]\r\nListenOnSocket=1\r\nDefaultApplication=5\r\n");
    dirs[1].WriteFile("QuorvelServer.ini",
                      "[QuorvelServer]\r\nPathToApplication0=" + winamp.ExePath() + "\r\n");
    CServerProcess servers[2];
    s_pServers = servers;
    bool bStarted =
        winamp.Start() && servers[0].Start(dirs[0].Path()) && servers[1].Start(dirs[1].Path());
    double fRatio =
        bStarted ? AlternatingRatio("sessions", InfoRound<0>, "winamp2", InfoRound<1>, NULL, 5)
                 : -1;
    printf("%d INFO a round; ratio (median sessions / Winamp 2): %.2f (target <= 2)\n", COMMANDS,
           fRatio);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, CLASS_KEY);
    return fRatio > 0 ? 0 : 1;
}

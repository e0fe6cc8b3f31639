// The Windows side of the browser tests (tests/browser/): starts the fake Winamp 2 (with
// "sessions", the fake session manager) and the server with the web remote on, reads the pairing
// key from the dialog, then answers the test's requests on stdin, one a line:
//   forget            forgets what the fake has recorded
//   messages          prints the fake's record, the status queries left out
//   log               prints the event log after the banner
//   web on, web off   ticks or unticks the web remote in its dialog
//   input off         unticks "Mouse and keyboard from paired browsers"
//   remove            removes the first paired browser in the dialog
//   hang              a fake Winamp 2 that stops answering at its first status query
//   key               prints the pairing key the dialog shows now
//   quit
// Every answer ends with a line "END".
#include <stdio.h>
#include <iostream>
#include "FakeWinamp.h"
#include "WebClient.h"

static const char SESSIONS_KEY[] =
    "Software\\Microsoft\\WindowsRuntime\\ActivatableClassId\\"
    "Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager";

// Opens the dialog, does what the test asked in it, and closes it again.
static void UseDialog(const CServerProcess& server, const std::string& what)
{
    const int ENABLE = 1100, BROWSERS = 1105, REMOVE = 1106, INPUT = 1109;
    HWND hDialog = OpenWebRemoteDialog(server);
    if (what == "remove")
    {
        SendDlgItemMessageA(hDialog, BROWSERS, LB_SETCURSEL, 0, 0);
        PressButton(hDialog, REMOVE);
    }
    if (what == "input off")
    {
        CheckDlgButton(hDialog, INPUT, BST_UNCHECKED);
        PressButton(hDialog, INPUT);
    }
    if (what == "web on" || what == "web off")
    {
        CheckDlgButton(hDialog, ENABLE, what == "web on" ? BST_CHECKED : BST_UNCHECKED);
        PressButton(hDialog, ENABLE);
    }
    PressButton(hDialog, IDOK);
}

static void PrintBlock(const std::string& text)
{
    printf("%s%sEND\n", text.c_str(), text.empty() || text.back() == '\n' ? "" : "\n");
    fflush(stdout);
}

int main(int argc, char** argv)
{
    bool bSessions = argc > 1 && std::string(argv[1]) == "sessions";
    CTempDir dir;
    CreateDirectoryA(dir.File("Music").c_str(), NULL);
    CreateDirectoryA(dir.File("Music\\Jazz").c_str(), NULL);
    // Bytes that hold no name: the browser test looks for the names in a capture.
    dir.WriteFile("Music\\a.mp3", "the first song's bytes");
    dir.WriteFile("Music\\b.mp3", "B");
    dir.WriteFile("Music\\Jazz\\c.mp3", "C");
    dir.WriteFile("list.m3u", "#EXTM3U\r\n#EXTINF:200,Artist - First\r\nC:\\m\\1.mp3\r\n"
                              "#EXTINF:180,Artist - Second\r\nC:\\m\\2.mp3\r\n");
    CFakeWinamp winamp(dir);
    winamp.Prepare("caption=1. Artist - First - Winamp\nstate=1\nlength=200\nposition_ms=42000\n"
                   "playlist_index=0\nvolume=64\nfollow_buttons=1\nm3u_source=" +
                   dir.File("list.m3u") + "\n");
    CServerProcess server;
    std::string music = dir.File("Music");
    // A copy of the fake, which keeps its record beside it. Ana's "Café Ω" playing,
    // with artwork; the music app's "Other" allows Next.
    std::string fake = dir.File("FakeMediaSessions.dll");
    if (bSessions &&
        CopyFileA((TestBinDir() + "\\FakeMediaSessions.dll").c_str(), fake.c_str(), FALSE))
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, SESSIONS_KEY, "DllPath", REG_SZ, fake.c_str(),
                        static_cast<DWORD>(fake.size() + 1));
    dir.WriteFile("FakeMediaSessions.cfg",
                  "sessions=2\ncurrent=1\napp1=Spotify.exe\ntitle1=Caf\xC3\xA9 \xCE\xA9\n"
                  "artist1=Ana\nalbum1=Blue\nthumbnail1=1\nstatus1=4\napp2=Microsoft.ZuneMusic_"
                  "8wekyb3d8bbwe!Microsoft.ZuneMusic\ntitle2=Other\nstatus2=5\ncontrols2=0x40\n");
    dir.WriteFile("QuorvelServer.ini",
                  "[QuorvelServer]\r\nListenOnSocket=1\r\nWebRemote=1\r\nPath=" + music +
                      "\r\nPathToApplication0=" + winamp.ExePath() +
                      (bSessions ? "\r\nDefaultApplication=5\r\n" : "\r\n"));
    if ((!bSessions && !winamp.Start()) || !server.Start(dir.Path()))
        return fprintf(stderr, "helper: the fake or the server did not start\n"), 1;
    printf("READY %s %s\n", ReadPairingKey(server).c_str(), music.c_str());
    fflush(stdout);

    std::string line;
    while (std::getline(std::cin, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "quit")
            break;
        if (line == "forget")
            winamp.ForgetMessages();
        if (line == "web on" || line == "web off" || line == "remove" || line == "input off")
            UseDialog(server, line);
        if (line == "hang")
        {
            CFakeWinamp::EndAll();
            std::string config = dir.ReadFile("winamp\\FakeWinamp2.cfg") + "hang_on=104\n";
            dir.WriteFile("winamp\\FakeWinamp2.cfg", config);
            winamp.Start();
        }
        PrintBlock(line == "messages" && bSessions ? dir.ReadFile("calls.log")
                   : line == "messages"            ? WithoutStatusQueries(winamp.Messages())
                   : line == "log"                 ? server.LogAfterBanner()
                   : line == "key"                 ? ReadPairingKey(server)
                                                   : "OK");
    }
    server.Click(1006);
    DWORD nExitCode = 0;
    server.WaitForExit(WAIT_LIMIT_MS, &nExitCode);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, SESSIONS_KEY);
    return 0;
}

// The Windows side of the browser test (tests/browser/web_remote.py): starts
// the fake Winamp 2 and the server with the web remote on, reads the pairing
// code from the dialog, then answers the test's requests on stdin, one a line:
//   forget            forgets what the fake has recorded
//   messages          prints the fake's record, the status queries left out
//   log               prints the event log after the banner
//   web on, web off   ticks or unticks the web remote in its dialog
//   remove            removes the first paired browser in the dialog
//   quit
// Every answer ends with a line "END".
#include <stdio.h>
#include <iostream>
#include "FakeWinamp.h"
#include "WebClient.h"

// Opens the dialog, does what the test asked in it, and closes it again.
static void UseDialog(const CServerProcess& server, const std::string& what)
{
    const int ENABLE = 1100, BROWSERS = 1105, REMOVE = 1106;
    HWND hDialog = OpenWebRemoteDialog(server);
    if (what == "remove")
    {
        SendDlgItemMessageA(hDialog, BROWSERS, LB_SETCURSEL, 0, 0);
        PressButton(hDialog, REMOVE);
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

int main()
{
    CTempDir dir;
    CreateDirectoryA(dir.File("Music").c_str(), NULL);
    CreateDirectoryA(dir.File("Music\\Jazz").c_str(), NULL);
    dir.WriteFile("Music\\a.mp3", "the bytes of a.mp3");
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
    dir.WriteFile("QuorvelServer.ini",
                  "[QuorvelServer]\r\nListenOnSocket=1\r\nWebRemote=1\r\nPath=" + music +
                      "\r\nPathToApplication0=" + winamp.ExePath() + "\r\n");
    if (!winamp.Start() || !server.Start(dir.Path()))
        return fprintf(stderr, "helper: the fake or the server did not start\n"), 1;
    printf("READY %s %s\n", ReadPairingCode(server).c_str(), music.c_str());
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
        if (line == "web on" || line == "web off" || line == "remove")
            UseDialog(server, line);
        PrintBlock(line == "messages" ? WithoutStatusQueries(winamp.Messages())
                   : line == "log"    ? server.LogAfterBanner()
                                      : "OK");
    }
    server.Click(1006);
    DWORD nExitCode = 0;
    server.WaitForExit(WAIT_LIMIT_MS, &nExitCode);
    return 0;
}

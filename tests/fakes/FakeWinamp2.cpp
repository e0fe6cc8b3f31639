// A fake Winamp 2 for the tests: a window of class "Winamp v1.x" (or "STUDIO")
// that answers Winamp's queries from a state read at start-up (the volume as
// last set) and records, in order, every message it receives.
//
// It reads FakeWinamp2.cfg (key=value lines) from its own folder, since the
// server starts it with no command line, and appends each message it receives
// as one line to messages.log in the same folder. With hang_on=<n> its window
// stops answering for hang_ms (a minute by default) at each WM_USER n, and
// records "woke" once it answers again.
#include <windows.h>
#include <stdio.h>
#include <string>
#include "FakeRecord.h"

static int g_nUnknownLengthRounds = 0;
static int g_nVolume = 0;
// With follow_buttons=1 the play state follows Play, Pause (which toggles) and Stop.
static int g_nState = 0;

static void WritePlaylistFile()
{
    std::string source = FakeSetting("m3u_source", "");
    if (!source.empty())
        CopyFileA(source.c_str(), (FakeFolder() + "\\Winamp.m3u").c_str(), FALSE);
}

static LRESULT AnswerUser(WPARAM wParam, LPARAM lParam)
{
    int nData = static_cast<int>(wParam);
    if (lParam == FakeNumber("hang_on", -1))
    {
        Sleep(static_cast<DWORD>(FakeNumber("hang_ms", 60000)));
        RecordLine("woke");
    }
    switch (lParam)
    {
    case 0:
        return FakeNumber("version", 0x2095);
    case 104:
        return g_nState;
    case 105:
        if (nData == 0)
            return FakeNumber("position_ms", 0);
        if (g_nUnknownLengthRounds > 0)
        {
            g_nUnknownLengthRounds--;
            return -1;
        }
        return FakeNumber("length", -1);
    case 122:
        if (nData == -666)
            return g_nVolume;
        g_nVolume = nData;
        return 0;
    case 120:
        WritePlaylistFile();
        return FakeNumber("playlist_index", 0);
    case 124:
        return FakeNumber("list_length", 0);
    case 126:
        return nData == 0   ? FakeNumber("sample_rate", 0)
               : nData == 1 ? FakeNumber("bit_rate", 0)
                            : FakeNumber("channels", 0);
    case 250:
        return FakeNumber("shuffle", 0);
    case 251:
        return FakeNumber("repeat", 0);
    }
    return 0;
}

static void FollowButton(WPARAM nButton)
{
    if (FakeNumber("follow_buttons", 0) == 0)
        return;
    if (nButton == 40045)
        g_nState = 1;
    else if (nButton == 40046)
        g_nState = g_nState == 1 ? 3 : 1;
    else if (nButton == 40047)
        g_nState = 0;
}

static LRESULT CALLBACK FakeWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    char szLine[1400];
    switch (nMsg)
    {
    case WM_USER:
        snprintf(szLine, sizeof(szLine), "WM_USER %d %d", static_cast<int>(wParam),
                 static_cast<int>(lParam));
        RecordLine(szLine);
        return AnswerUser(wParam, lParam);
    case WM_COMMAND:
        snprintf(szLine, sizeof(szLine), "WM_COMMAND %d %d", static_cast<int>(wParam),
                 static_cast<int>(lParam));
        RecordLine(szLine);
        FollowButton(wParam);
        return 0;
    case WM_COPYDATA:
    {
        const COPYDATASTRUCT* pData = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        std::string text(static_cast<const char*>(pData->lpData), pData->cbData);
        snprintf(szLine, sizeof(szLine), "WM_COPYDATA %d %d %s", static_cast<int>(pData->dwData),
                 static_cast<int>(pData->cbData), text.c_str());
        RecordLine(szLine);
        return TRUE;
    }
    case WM_GETTEXT:
        snprintf(szLine, sizeof(szLine), "WM_GETTEXT %d", static_cast<int>(wParam));
        RecordLine(szLine);
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    LoadFakeConfig("FakeWinamp2.cfg");
    g_nUnknownLengthRounds = static_cast<int>(FakeNumber("unknown_length_rounds", 0));
    g_nVolume = static_cast<int>(FakeNumber("volume", 0));
    g_nState = static_cast<int>(FakeNumber("state", 0));
    // A slow start: no window and no message loop yet, so WaitForInputIdle waits.
    Sleep(static_cast<DWORD>(FakeNumber("start_delay_ms", 0)));

    std::string windowClass = FakeSetting("class", "Winamp v1.x");
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FakeWindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = windowClass.c_str();
    RegisterClassA(&wc);
    HWND hWnd = CreateWindowA(windowClass.c_str(), FakeSetting("caption", "Winamp 2.95").c_str(),
                              WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, NULL, NULL, hInstance, NULL);
    if (!hWnd)
        return 1;
    return RunMessageLoop();
}

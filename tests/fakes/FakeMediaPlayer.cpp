// A fake Windows Media Player for the tests: a hidden window of class
// "WMPlayerApp" that records every WM_COMMAND (and any key, mouse or private
// message, which the player should never get), and the command line of every
// start. A start while the window exists only records its command line and ends.
#include <windows.h>
#include "FakeRecord.h"

static const char* const WINDOW_CLASS = "WMPlayerApp";

static LRESULT CALLBACK FakeWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    RecordMessage(WINDOW_CLASS, nMsg, wParam, lParam);
    if (nMsg == WM_COMMAND)
        return 0;
    if (nMsg == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    LoadFakeConfig("FakeMediaPlayer.cfg");
    RecordStart();
    if (FindWindowA(WINDOW_CLASS, NULL))
        return 0;

    WNDCLASSA wc = {};
    wc.lpfnWndProc = FakeWindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = WINDOW_CLASS;
    RegisterClassA(&wc);
    // Hidden: nothing but what is sent to it reaches it.
    if (!CreateWindowA(WINDOW_CLASS, "Windows Media Player", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                       NULL, NULL, hInstance, NULL))
        return 1;
    return RunMessageLoop();
}

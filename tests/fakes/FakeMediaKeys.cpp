// A fake of a player that takes the media keys: a window that takes the keyboard
// focus and records the keys and application commands it gets. Started as a file
// type's handler, with a verb's switch and the file, it records how and ends.
#include <windows.h>
#include "FakeRecord.h"

static const char* const WINDOW_CLASS = "FakeMediaKeys";

static LRESULT CALLBACK FakeWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    // Not what the taskbar asks the window: only what a keyboard brings. The
    // application command's window, when it is this one, is recorded as 0.
    if (nMsg == WM_APPCOMMAND && wParam == reinterpret_cast<WPARAM>(hWnd))
        wParam = 0;
    if ((nMsg >= WM_KEYFIRST && nMsg <= WM_KEYLAST) || nMsg == WM_APPCOMMAND)
        RecordMessage(WINDOW_CLASS, nMsg, wParam, lParam);
    if (nMsg == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR pszCommandLine, int)
{
    LoadFakeConfig("FakeMediaKeys.cfg");
    RecordStart();
    if (pszCommandLine[0] != '\0')
        return 0;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FakeWindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = WINDOW_CLASS;
    RegisterClassA(&wc);
    HWND hWnd = CreateWindowA(WINDOW_CLASS, "Fake player", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              300, 200, NULL, NULL, hInstance, NULL);
    // Under Wine the keys go to the window with the focus.
    SetForegroundWindow(hWnd);
    SetFocus(hWnd);
    return hWnd ? RunMessageLoop() : 1;
}

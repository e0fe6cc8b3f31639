// A fake Winamp 3 for the tests: a hidden window of class "STUDIO" with the
// caption the test sets (FakeWinamp3.cfg "caption=", or WM_SETTEXT from the
// test), and the two "BaseWindow_RootWnd" windows its full-screen toggle is
// clicked on: a top-level one titled "normal" and, with "root=child" (the
// default), an untitled child of it, or with "root=top" an untitled top-level
// one. Every key and mouse message and WM_GETTEXT is recorded with the window
// it reached, and so is the command line of every start. A start while the
// "STUDIO" window exists only records its command line and ends.
#include <windows.h>
#include "FakeRecord.h"

static const char* const STUDIO_CLASS = "STUDIO";
static const char* const ROOT_CLASS = "BaseWindow_RootWnd";
static HWND g_hStudio = NULL;
static HWND g_hNormal = NULL;

static LRESULT CALLBACK FakeWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const char* pszWindow = hWnd == g_hStudio ? "STUDIO" : hWnd == g_hNormal ? "normal" : "root";
    RecordMessage(pszWindow, nMsg, wParam, lParam);
    if (nMsg == WM_DESTROY && hWnd == g_hStudio)
        PostQuitMessage(0);
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

static void Register(HINSTANCE hInstance, const char* pszClass)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FakeWindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = pszClass;
    RegisterClassA(&wc);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    LoadFakeConfig("FakeWinamp3.cfg");
    RecordStart();
    if (FindWindowA(STUDIO_CLASS, NULL))
        return 0;

    Register(hInstance, STUDIO_CLASS);
    Register(hInstance, ROOT_CLASS);
    // Hidden windows: nothing but what is sent to them reaches them.
    g_hStudio = CreateWindowA(STUDIO_CLASS, FakeSetting("caption", "Winamp3").c_str(),
                              WS_OVERLAPPEDWINDOW, 0, 0, 400, 100, NULL, NULL, hInstance, NULL);
    g_hNormal = CreateWindowA(ROOT_CLASS, "normal", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, NULL, NULL,
                              hInstance, NULL);
    std::string root = FakeSetting("root", "child");
    if (root == "child")
        CreateWindowA(ROOT_CLASS, "", WS_CHILD, 0, 0, 400, 300, g_hNormal, NULL, hInstance, NULL);
    else if (root == "top")
        CreateWindowA(ROOT_CLASS, "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, NULL, NULL, hInstance,
                      NULL);
    if (!g_hStudio || !g_hNormal)
        return 1;
    return RunMessageLoop();
}

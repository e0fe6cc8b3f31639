// A window for the touchpad's tests: an edit control that takes the keyboard,
// and an area below it that records the clicks and wheel turns it gets, with
// every change of the edit's text as its UTF-8 in hex. For tests that cannot ask
// Windows themselves (a browser's), it keeps state.txt beside it up to date:
// "x y" of the pointer, then 1 or 0 for Ctrl, Shift, Alt and the left button down;
// it ends when quit.txt appears there.
#include <windows.h>
#include <stdio.h>
#include <string>
#include "FakeRecord.h"

static const char* const WINDOW_CLASS = "FakeInputWindow";
static const int EDIT_ID = 1;

static void RecordText(HWND hEdit)
{
    wchar_t szText[512] = L"";
    GetWindowTextW(hEdit, szText, 512);
    char szUtf8[2048] = "";
    WideCharToMultiByte(CP_UTF8, 0, szText, -1, szUtf8, sizeof(szUtf8), NULL, NULL);
    std::string line = "text ";
    for (const char* p = szUtf8; *p; p++)
    {
        char szHex[4];
        snprintf(szHex, sizeof(szHex), "%02x", static_cast<unsigned char>(*p));
        line += szHex;
    }
    RecordLine(line);
}

static void RecordMouse(const char* pszWhat, LPARAM lParam)
{
    char szLine[64];
    snprintf(szLine, sizeof(szLine), "%s %d %d", pszWhat, static_cast<short>(LOWORD(lParam)),
             static_cast<short>(HIWORD(lParam)));
    RecordLine(szLine);
}

static WNDPROC s_pEditProc = NULL;

// Ctrl+A selects all, as the system's edit control does on Windows and Wine's
// does not: the key must come while Ctrl is down.
static LRESULT CALLBACK EditProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_KEYDOWN && wParam == 'A' && GetKeyState(VK_CONTROL) < 0)
    {
        SendMessageW(hWnd, EM_SETSEL, 0, -1);
        return 0;
    }
    if (nMsg == WM_CHAR && wParam == 1)
        return 0;
    return CallWindowProcW(s_pEditProc, hWnd, nMsg, wParam, lParam);
}

static void WriteState()
{
    POINT at = {};
    GetCursorPos(&at);
    char szState[64];
    int nLength = snprintf(szState, sizeof(szState), "%ld %ld %d %d %d %d\n", at.x, at.y,
                           GetAsyncKeyState(VK_CONTROL) < 0, GetAsyncKeyState(VK_SHIFT) < 0,
                           GetAsyncKeyState(VK_MENU) < 0, GetAsyncKeyState(VK_LBUTTON) < 0);
    std::string path = FakeFolder() + "\\state.txt";
    FILE* pFile = fopen(path.c_str(), "wb");
    if (!pFile)
        return;
    fwrite(szState, 1, static_cast<size_t>(nLength), pFile);
    fclose(pFile);
}

static LRESULT CALLBACK FakeWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_LBUTTONDOWN: RecordMouse("left down", lParam); break;
    case WM_LBUTTONUP: RecordMouse("left up", lParam); break;
    case WM_RBUTTONDOWN: RecordMouse("right down", lParam); break;
    case WM_RBUTTONUP: RecordMouse("right up", lParam); break;
    case WM_MBUTTONDOWN: RecordMouse("middle down", lParam); break;
    case WM_MBUTTONUP: RecordMouse("middle up", lParam); break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    {
        char szLine[32];
        snprintf(szLine, sizeof(szLine), "wheel %s %d", nMsg == WM_MOUSEWHEEL ? "v" : "h",
                 GET_WHEEL_DELTA_WPARAM(wParam));
        RecordLine(szLine);
        return 0;
    }
    case WM_TIMER:
        WriteState();
        // A test that cannot end it otherwise leaves quit.txt beside it.
        if (GetFileAttributesA((FakeFolder() + "\\quit.txt").c_str()) != INVALID_FILE_ATTRIBUTES)
            DestroyWindow(hWnd);
        return 0;
    case WM_SETFOCUS:
        SetFocus(GetDlgItem(hWnd, EDIT_ID));
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == EDIT_ID && HIWORD(wParam) == EN_CHANGE)
            RecordText(reinterpret_cast<HWND>(lParam));
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    }
    return DefWindowProcW(hWnd, nMsg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    LoadFakeConfig("FakeInputWindow.cfg");
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FakeWindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = WINDOW_CLASS;
    RegisterClassA(&wc);
    HWND hWnd = CreateWindowA(WINDOW_CLASS, "Fake input", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300,
                              NULL, NULL, hInstance, NULL);
    // A Unicode edit, so that text beyond the code page arrives whole.
    HWND hEdit = CreateWindowW(L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                               10, 10, 380, 24, hWnd, reinterpret_cast<HMENU>(EDIT_ID), hInstance,
                               NULL);
    s_pEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
    SetTimer(hWnd, 1, 50, NULL);
    SetForegroundWindow(hWnd);
    SetFocus(hEdit);
    if (!hWnd || !hEdit)
        return 1;
    // A Unicode loop: an ANSI one would turn typed characters beyond the code page
    // into "?" on their way to the edit.
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

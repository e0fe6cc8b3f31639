// Walks the server through its windows under Wine and saves each as a BMP: every
// page of the first-run wizard, the main window, the About box and the web
// remote's dialog. Used by
// tools/screenshots.sh, which turns them into the PNGs of the README.
#include <windows.h>
#include <stdio.h>
#include <string>
#include "ServerProcess.h"

static std::string s_outDir;

// Lets the server paint, then copies the window's part of the screen.
static bool SaveWindow(HWND hWnd, const char* pszName)
{
    SetForegroundWindow(hWnd);
    Sleep(700);
    RECT rect;
    GetWindowRect(hWnd, &rect);
    int nWidth = rect.right - rect.left;
    int nHeight = rect.bottom - rect.top;
    HDC hScreen = GetDC(NULL);
    HDC hMemory = CreateCompatibleDC(hScreen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = NULL;
    HBITMAP hBitmap = CreateDIBSection(hScreen, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
    HGDIOBJ hOld = SelectObject(hMemory, hBitmap);
    BitBlt(hMemory, 0, 0, nWidth, nHeight, hScreen, rect.left, rect.top, SRCCOPY);
    SelectObject(hMemory, hOld);

    DWORD nRowSize = (static_cast<DWORD>(nWidth) * 3 + 3) & ~3u;
    DWORD nImageSize = nRowSize * static_cast<DWORD>(nHeight);
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(header) + sizeof(info.bmiHeader);
    header.bfSize = header.bfOffBits + nImageSize;
    std::string path = s_outDir + "\\" + pszName + ".bmp";
    FILE* pFile = fopen(path.c_str(), "wb");
    bool bSaved = pFile != NULL;
    if (pFile)
    {
        fwrite(&header, sizeof(header), 1, pFile);
        fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, pFile);
        fwrite(pBits, 1, nImageSize, pFile);
        fclose(pFile);
    }
    DeleteObject(hBitmap);
    DeleteDC(hMemory);
    ReleaseDC(NULL, hScreen);
    printf("%s %s\n", bSaved ? "saved" : "could not save", path.c_str());
    return bSaved;
}

static void SetDialogItem(HWND hDlg, int nId, const char* pszText)
{
    SendMessageA(GetDlgItem(hDlg, nId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pszText));
}

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        fprintf(stderr, "usage: quorvel-screenshots OUTDIR\n");
        return 2;
    }
    s_outDir = argv[1];
    CTempDir workDir; // empty: the server starts with its wizard
    CServerProcess server;
    if (!server.Launch(workDir.Path()))
        return 1;
    HWND hWizard = server.WaitForDialog("Welcome to Quorvel", true);
    if (!hWizard)
        return 1;

    const int NEXT = 1021, EDIT = 1027;
    SaveWindow(hWizard, "wizard-1-welcome");
    PressButton(hWizard, NEXT);
    SaveWindow(hWizard, "wizard-2-application");
    PressButton(hWizard, NEXT);
    SetDialogItem(hWizard, EDIT, "C:\\Program Files\\Winamp\\winamp.exe");
    SaveWindow(hWizard, "wizard-3-application-path");
    PressButton(hWizard, NEXT);
    SetDialogItem(hWizard, EDIT, "D:\\Music;E:\\Mp3");
    SaveWindow(hWizard, "wizard-4-folders");
    PressButton(hWizard, NEXT);
    SetDialogItem(hWizard, EDIT, "COM3");
    SaveWindow(hWizard, "wizard-5-com-port");
    PressButton(hWizard, NEXT);
    SaveWindow(hWizard, "wizard-6-complete");
    PressButton(hWizard, NEXT);

    if (!server.WaitForMainWindow())
        return 1;
    SaveWindow(server.Window(), "main-window");
    PostMessageA(server.Window(), WM_SYSCOMMAND, 0x10, 0); // the About item of the system menu
    HWND hAbout = server.WaitForDialog("About QuorvelServer", true);
    if (hAbout)
    {
        SaveWindow(hAbout, "about");
        PressButton(hAbout, IDOK);
    }
    PostMessageA(server.Window(), WM_SYSCOMMAND, 0x20, 0); // "Web remote..."
    HWND hWebRemote = server.WaitForDialog("Web remote", true);
    if (hWebRemote)
    {
        SaveWindow(hWebRemote, "web-remote-dialog");
        // For tests/e2e/dialog-qr.sh, which finds it in the QR code.
        printf("key %s\n", DialogItemText(hWebRemote, 1103).c_str());
        PressButton(hWebRemote, IDOK);
    }
    server.Click(1006);
    DWORD nExitCode = 0;
    server.WaitForExit(20000, &nExitCode);
    return hAbout && hWebRemote ? 0 : 1;
}

// The application object: one per process, created before WinMain runs.
#pragma once
#include <windows.h>

class CDialog;

class CWinApp
{
public:
    CWinApp();
    virtual ~CWinApp();

    // Returns FALSE when the program is to end without a message loop.
    virtual BOOL InitInstance() = 0;

    HINSTANCE m_hInstance;
    CDialog* m_pMainWnd;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();

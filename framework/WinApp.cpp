// WinMain hands control to the one application object.
#include "WinApp.h"

static CWinApp* s_pTheApp = NULL;

CWinApp::CWinApp() : m_hInstance(NULL), m_pMainWnd(NULL)
{
    s_pTheApp = this;
}

CWinApp::~CWinApp()
{
    s_pTheApp = NULL;
}

CWinApp* AfxGetApp()
{
    return s_pTheApp;
}

HINSTANCE AfxGetInstanceHandle()
{
    return s_pTheApp ? s_pTheApp->m_hInstance : GetModuleHandleA(NULL);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    if (!s_pTheApp)
        return 1;
    s_pTheApp->m_hInstance = hInstance;
    // A dialog-based program runs its modal dialog inside InitInstance; there is
    // no message loop of our own afterwards.
    s_pTheApp->InitInstance();
    return 0;
}

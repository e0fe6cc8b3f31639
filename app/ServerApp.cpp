#include "ServerApp.h"
#include "ServerDlg.h"
#include "../framework/Sockets.h"
#include "../res/resource.h"

CServerApp theApp;

BOOL CServerApp::InitInstance()
{
    if (!AfxSocketInit())
    {
        char szMessage[256];
        if (!LoadStringA(m_hInstance, IDS_SOCKETS_INIT_FAILED, szMessage, sizeof(szMessage)))
            szMessage[0] = '\0';
        MessageBoxA(NULL, szMessage, "QuorvelServer", MB_OK);
        return FALSE;
    }
    CServerDlg* pDlg = new CServerDlg();
    m_pMainWnd = pDlg;
    pDlg->DoModal();
    m_pMainWnd = NULL;
    delete pDlg;
    return FALSE;
}

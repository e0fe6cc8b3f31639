// The phone links as the window drives them: Connect and Find for the serial
// link, "Listen on Internet socket" for the TCP listener.
#include "ServerDlg.h"
#include <stdio.h>
#include "../links/ComPortDiscovery.h"
#include "../links/ComPortName.h"
#include "../res/resource.h"

void CServerDlg::OnConnect()
{
    char* pszPort = m_settings.szCommPort;
    if (!GetDlgItemTextA(m_hWnd, IDC_COM_PORT, pszPort, sizeof(m_settings.szCommPort)))
        pszPort[0] = '\0';
    NormaliseComPortName(pszPort, sizeof(m_settings.szCommPort));
    m_nLinkStops++;
    m_serialLink.Connect(pszPort);
    m_nLinkStops--;
}

int CServerDlg::FindComPort()
{
    int nPort = FindBluetoothComPort(m_core);
    if (nPort == 0)
        return 0;
    snprintf(m_settings.szCommPort, sizeof(m_settings.szCommPort), "COM%d", nPort);
    SetDlgItemTextA(m_hWnd, IDC_COM_PORT, m_settings.szCommPort);
    return nPort;
}

void CServerDlg::OnFindPort()
{
    FindComPort();
}

void CServerDlg::OnListenOnSocketClicked()
{
    m_settings.bListenOnSocket = IsDlgButtonChecked(m_hWnd, IDC_LISTEN_ON_SOCKET) == BST_CHECKED;
    if (m_settings.bListenOnSocket)
        StartSocketListener();
    else
        StopSocketListener();
}

void CServerDlg::StartSocketListener()
{
    m_nLinkStops++;
    m_listener.Start();
    m_nLinkStops--;
}

// The listener's stop drops the phone it held: the question about it goes too.
void CServerDlg::StopSocketListener()
{
    m_nLinkStops++;
    m_listener.Stop();
    m_nLinkStops--;
    CloseApprovalQuestion();
}

// A Connect or Listen click that arrives while a link is being stopped (the stop
// answers messages sent to the window) runs once that stop is over.
bool CServerDlg::IsLinkCommandDeferred(WORD nId)
{
    if (m_nLinkStops == 0 || (nId != IDC_CONNECT && nId != IDC_LISTEN_ON_SOCKET))
        return false;
    PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(nId)));
    return true;
}

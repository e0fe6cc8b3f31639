// The web remote as the main window sees it: its item in the system menu, its
// dialog, and starting and stopping its listener.
#include "ServerDlg.h"
#include "WebRemoteDlg.h"
#include "../res/resource.h"
#include "../web/WebRemote.h"

void CServerDlg::OnWebRemote()
{
    CWebRemoteDlg dialog(*this);
    dialog.DoModal();
}

void CServerDlg::StartWebRemote()
{
    m_pWebRemote->AllowShutdown(m_bWebRemoteShutdown != 0);
    m_pWebRemote->Start(static_cast<unsigned short>(m_nWebRemotePort));
}

void CServerDlg::StopWebRemote()
{
    m_pWebRemote->Stop();
}

// The web remote as the main window sees it: its item in the system menu, its
// dialog, and starting and stopping its listener.
#include "ServerDlg.h"
#include "WebRemoteDlg.h"
#include "../res/resource.h"

void CServerDlg::OnWebRemote()
{
    CWebRemoteDlg dialog(*this);
    dialog.DoModal();
}

void CServerDlg::StartWebRemote()
{
    m_webRemote.AllowShutdown(IsWebShutdownAllowed());
    m_webRemote.AllowInput(IsWebInputAllowed());
    m_webRemote.Start(static_cast<unsigned short>(m_settings.nWebRemotePort));
}

void CServerDlg::SetWebRemoteOn(bool bOn)
{
    m_settings.bWebRemote = bOn ? 1 : 0;
    if (bOn)
        StartWebRemote();
    else
        m_webRemote.Stop();
}

void CServerDlg::SetWebShutdownAllowed(bool bAllowed)
{
    m_settings.bWebRemoteShutdown = bAllowed ? 1 : 0;
    m_webRemote.AllowShutdown(bAllowed);
}

void CServerDlg::SetWebInputAllowed(bool bAllowed)
{
    m_settings.bWebRemoteInput = bAllowed ? 1 : 0;
    m_webRemote.AllowInput(bAllowed);
}

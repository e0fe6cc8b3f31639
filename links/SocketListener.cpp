// The TCP listener on port 7654 and its worker, which serves one client at a time.
#include "../app/ServerDlg.h"
#include "../protocol/CommandHandlers.h"

static const unsigned short LISTEN_PORT = 7654;
// How long a worker may take to return after its stop request before it is terminated.
static const DWORD WORKER_STOP_GRACE_MS = 1000;
// A failing accept is retried after this pause, so the worker never spins on it.
static const DWORD ACCEPT_RETRY_MS = 1000;

static void CloseClientSocket(CServerDlg& dlg)
{
    SOCKET client = dlg.m_clientSocket.exchange(INVALID_SOCKET);
    if (client == INVALID_SOCKET)
        return;
    // Closing alone does not wake a send that waits for a phone which reads
    // nothing (not under Wine, at least); cancelling it does.
    CancelIoEx(reinterpret_cast<HANDLE>(client), NULL);
    closesocket(client);
}

// Each write leaves at once: with the send delay on, a small write that follows
// bytes the phone has not yet acknowledged waits for the phone's delayed
// acknowledgement, tens to hundreds of milliseconds.
static void SwitchOffSendDelay(SOCKET client)
{
    BOOL bNoDelay = TRUE;
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&bNoDelay),
               sizeof(bNoDelay));
}

static void ServeClient(CServerDlg& dlg, CWorkerThread& thread, SOCKET client)
{
    dlg.LogEvent("Client connected on Internet socket\r\n");
    CReceiveBuffer received = {};
    CPhoneLink link = {INVALID_HANDLE_VALUE, client, &thread, &received};
    while (!dlg.m_bClientClosed && !thread.IsStopRequested())
        DispatchCommand(dlg, link);
}

static void SocketAcceptThread(CWorkerThread& thread, void* pParam)
{
    CServerDlg& dlg = *static_cast<CServerDlg*>(pParam);
    // The user-interface thread closes the listening socket to wake us; we keep our own copy.
    SOCKET listenSocket = dlg.m_listenSocket;
    while (!thread.IsStopRequested())
    {
        dlg.m_bClientClosed = 0;
        SOCKET client = accept(listenSocket, NULL, NULL);
        if (client == INVALID_SOCKET)
        {
            if (!thread.PauseUnlessStopped(ACCEPT_RETRY_MS))
                break;
            continue;
        }
        SwitchOffSendDelay(client);
        dlg.m_clientSocket = client;
        if (!thread.IsStopRequested())
            ServeClient(dlg, thread, client);
        CloseClientSocket(dlg);
    }
}

void CServerDlg::StartSocketListener()
{
    StopSocketListener();

    m_listenSocket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(LISTEN_PORT);
    int nResult =
        m_listenSocket == INVALID_SOCKET
            ? SOCKET_ERROR
            : bind(m_listenSocket, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    if (nResult != 0)
    {
        LogEvent("Bind failed with %d", nResult);
        StopSocketListener();
        return;
    }
    nResult = listen(m_listenSocket, 1);
    if (nResult != 0)
    {
        LogEvent("Listen failed with %d", nResult);
        StopSocketListener();
        return;
    }
    m_pSocketThread = new CWorkerThread();
    if (!m_pSocketThread->Start(SocketAcceptThread, this))
        StopSocketListener();
}

void CServerDlg::StopSocketListener()
{
    if (m_pSocketThread)
    {
        // Closing the sockets wakes the worker from accept or recv at once.
        m_pSocketThread->RequestStop();
        CloseClientSocket(*this);
        if (m_listenSocket != INVALID_SOCKET)
            closesocket(m_listenSocket);
        m_listenSocket = INVALID_SOCKET;
        m_pSocketThread->WaitOrTerminate(WORKER_STOP_GRACE_MS);
        delete m_pSocketThread;
        m_pSocketThread = NULL;
    }
    if (m_listenSocket != INVALID_SOCKET)
        closesocket(m_listenSocket);
    m_listenSocket = INVALID_SOCKET;
}

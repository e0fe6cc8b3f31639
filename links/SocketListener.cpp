#include "SocketListener.h"
#include <mstcpip.h>
#include "LinkWorker.h"
#include "../core/IPv4Text.h"
#include "../core/ServerCore.h"
#include "../framework/ScopedHandle.h"
#include "../framework/Sockets.h"
#include "../protocol/CommandHandlers.h"

static const unsigned short LISTEN_PORT = 7654;
// A failing accept is retried after this pause, so the worker never spins on it.
static const DWORD ACCEPT_RETRY_MS = 1000;

CSocketListener::CSocketListener(CServerCore& core, CListenerEvents& events)
    : m_core(core), m_events(events), m_listenSocket(INVALID_SOCKET), m_pThread(NULL),
      m_clientSocket(INVALID_SOCKET), m_heldSocket(INVALID_SOCKET),
      m_hAnswered(CreateEventA(NULL, FALSE, FALSE, NULL))
{
}

CSocketListener::~CSocketListener()
{
    Stop();
    if (m_hAnswered)
        CloseHandle(m_hAnswered);
}

void CSocketListener::Answered()
{
    SetEvent(m_hAnswered);
}

void CSocketListener::CloseClientSocket()
{
    SOCKET client = m_clientSocket.exchange(INVALID_SOCKET);
    if (client == INVALID_SOCKET)
        return;
    // Closing alone does not wake a send that waits for a phone which reads
    // nothing (not under Wine, at least); cancelling it does.
    CancelIoEx(reinterpret_cast<HANDLE>(client), NULL);
    closesocket(client);
}

void CSocketListener::CloseHeldPhone()
{
    SOCKET held = m_heldSocket.exchange(INVALID_SOCKET);
    if (held != INVALID_SOCKET)
        closesocket(held);
}

// Serves the client in m_clientSocket until it closes its end, then closes it.
void CSocketListener::ServeClient(CWorkerThread& thread)
{
    SOCKET client = m_clientSocket;
    if (client != INVALID_SOCKET && !thread.IsStopRequested())
    {
        m_core.LogEvent("Client connected on Internet socket\r\n");
        CReceiveBuffer received = {};
        CPhoneLink link = {INVALID_HANDLE_VALUE, client, &thread, &received};
        while (!thread.IsStopRequested() && DispatchCommand(m_core, link))
        {
        }
    }
    CloseClientSocket();
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

// A phone holds its next command until the last one is acknowledged (its own send
// delay), and a command without a reply is acknowledged late unless asked for at
// once: Windows 8 and later can be asked. Wine and older systems refuse, and
// nothing else changes then.
static void AcknowledgeAtOnce(SOCKET client)
{
    DWORD nFrequency = 1;
    DWORD nReturned = 0;
    WSAIoctl(client, SIO_TCP_SET_ACK_FREQUENCY, &nFrequency, sizeof(nFrequency), NULL, 0,
             &nReturned, NULL, NULL);
}

// Takes one waiting connection, as a blocking socket for the command loop; its
// peer's IPv4 address in host order. INVALID_SOCKET when none is waiting, or
// with *pbFailed on an error.
static SOCKET AcceptWaiting(SOCKET listenSocket, uint32_t* pnAddress, bool* pbFailed)
{
    sockaddr_in peer = {};
    int nLength = sizeof(peer);
    SOCKET client = accept(listenSocket, reinterpret_cast<sockaddr*>(&peer), &nLength);
    if (client == INVALID_SOCKET)
    {
        *pbFailed = WSAGetLastError() != WSAEWOULDBLOCK;
        return INVALID_SOCKET;
    }
    // It took over the listener's event and non-blocking mode.
    WSAEventSelect(client, NULL, 0);
    u_long nNonBlocking = 0;
    ioctlsocket(client, FIONBIO, &nNonBlocking);
    SwitchOffSendDelay(client);
    AcknowledgeAtOnce(client);
    *pnAddress = ntohl(peer.sin_addr.s_addr);
    return client;
}

// Takes the phones waiting to connect: serves each in turn, holds one to ask the
// user about, refuses the rest. The held phone's address goes to *pnHeldAddress.
void CSocketListener::TakeNewPhones(CWorkerThread& thread, SOCKET listenSocket,
                                    uint32_t* pnHeldAddress)
{
    while (!thread.IsStopRequested())
    {
        uint32_t nAddress = 0;
        bool bFailed = false;
        SOCKET client = INVALID_SOCKET;
        PhoneVerdict verdict = PHONE_SERVE;
        {
            // Stored before a stop can cut us off, where Stop closes it.
            CWorkerThread::CNoTerminate section;
            client = AcceptWaiting(listenSocket, &nAddress, &bFailed);
            if (client != INVALID_SOCKET)
                verdict = m_approvals.Judge(nAddress);
            if (client != INVALID_SOCKET && verdict == PHONE_SERVE)
                m_clientSocket = client;
            if (client != INVALID_SOCKET && verdict == PHONE_ASK)
                m_heldSocket = client;
        }
        if (client == INVALID_SOCKET)
        {
            // A failing accept is no client, and is not retried at once.
            if (bFailed)
                thread.PauseUnlessStopped(ACCEPT_RETRY_MS);
            return;
        }
        std::string address = FormatIPv4(nAddress);
        switch (verdict)
        {
        case PHONE_SERVE:
            ServeClient(thread);
            break;
        case PHONE_ASK:
            *pnHeldAddress = nAddress;
            m_core.LogEvent("A phone at %s asks to control this PC; waiting for your answer\r\n",
                            address.c_str());
            m_events.OnPhoneToAskAbout();
            break;
        case PHONE_REFUSE_DENIED:
            m_core.LogEvent("Refused the phone at %s: it was denied\r\n", address.c_str());
            closesocket(client);
            break;
        case PHONE_REFUSE_WAITING:
            m_core.LogEvent("Refused the phone at %s: another phone is waiting for your answer\r\n",
                            address.c_str());
            closesocket(client);
            break;
        }
    }
}

// Once the user has answered about the held phone: served when allowed, else closed.
void CSocketListener::TakeAnsweredPhone(CWorkerThread& thread, uint32_t nHeldAddress)
{
    if (m_heldSocket == INVALID_SOCKET || m_approvals.IsAsking(NULL))
        return;
    if (!m_approvals.IsAllowed(nHeldAddress))
    {
        CloseHeldPhone();
        return;
    }
    {
        CWorkerThread::CNoTerminate section;
        m_clientSocket = m_heldSocket.exchange(INVALID_SOCKET);
    }
    ServeClient(thread);
}

// Waits for phones, for the user's answer about a held one, and for the stop
// request, all at once: a phone held for an answer never stops the others.
void CSocketListener::AcceptThread(CWorkerThread& thread, void* pParam)
{
    CSocketListener& self = *static_cast<CSocketListener*>(pParam);
    // Stop closes the listening socket when it stops us; we keep our own copy.
    SOCKET listenSocket = self.m_listenSocket;
    CScopedHandle acceptReady(CreateEventA(NULL, FALSE, FALSE, NULL));
    if (!acceptReady.IsValid() || WSAEventSelect(listenSocket, acceptReady.Get(), FD_ACCEPT) != 0)
    {
        self.m_core.LogEvent("Couldn't wait for phones on the Internet socket (error %d)\r\n",
                             WSAGetLastError());
        return;
    }
    uint32_t nHeldAddress = 0;
    HANDLE waits[3] = {thread.GetStopEvent(), acceptReady.Get(), self.m_hAnswered};
    for (;;)
    {
        DWORD nWait = WaitForMultipleObjects(3, waits, FALSE, INFINITE);
        if (nWait == WAIT_OBJECT_0 || nWait == WAIT_FAILED || thread.IsStopRequested())
            break;
        self.TakeAnsweredPhone(thread, nHeldAddress);
        self.TakeNewPhones(thread, listenSocket, &nHeldAddress);
    }
    self.CloseHeldPhone();
}

void CSocketListener::Start()
{
    Stop();
    m_listenSocket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    int nResult = m_listenSocket == INVALID_SOCKET
                      ? SOCKET_ERROR
                      : BindToEveryAddress(m_listenSocket, LISTEN_PORT);
    if (nResult != 0)
    {
        m_core.LogEvent("Bind failed with %d", nResult);
        Stop();
        return;
    }
    nResult = listen(m_listenSocket, 1);
    if (nResult != 0)
    {
        m_core.LogEvent("Listen failed with %d", nResult);
        Stop();
        return;
    }
    m_pThread = new CWorkerThread(true);
    if (!m_pThread->Start(AcceptThread, this))
        Stop();
}

void CSocketListener::Stop()
{
    // Out of the field before the wait, which answers messages sent to the window.
    CWorkerThread* pThread = m_pThread;
    m_pThread = NULL;
    if (pThread)
    {
        // Closing the sockets wakes the worker from accept or recv at once.
        pThread->RequestStop();
        CloseClientSocket();
        if (m_listenSocket != INVALID_SOCKET)
            closesocket(m_listenSocket);
        m_listenSocket = INVALID_SOCKET;
        StopLinkWorker(pThread, "Internet socket's listener", m_core);
    }
    CloseHeldPhone();
    m_approvals.DropQuestion();
    if (m_listenSocket != INVALID_SOCKET)
        closesocket(m_listenSocket);
    m_listenSocket = INVALID_SOCKET;
}

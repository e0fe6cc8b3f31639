#include "SocketListener.h"
#include <mstcpip.h>
#include "LinkWorker.h"
#include "../core/IPv4Text.h"
#include "../core/ServerCore.h"
#include "../framework/ScopedHandle.h"
#include "../framework/Sockets.h"
#include "../protocol/CommandHandlers.h"

static const unsigned short LISTEN_PORT = 7654;
// FD_ACCEPT alone can leave a phone waiting for good: it is signalled again only
// after an accept, and Wine can leave it unsignalled after a stale notification.
// So the listener also looks for waiting phones this often.
static const DWORD ACCEPT_CHECK_MS = 200;
// An accept that fails for want of sockets or buffers, or for a reason nobody
// expects, is retried after this pause, so the worker never spins on it.
static const DWORD ACCEPT_RETRY_MS = 1000;
// A phone that left the network (out of Wi-Fi range, battery dead) sends no FIN,
// and a phone waits silently between commands: keep-alive probes after this much
// quiet, this far apart and this many unanswered tell the two apart in about a
// minute, and free the port for the phone queued behind.
static const ULONG KEEPALIVE_IDLE_MS = 30000;
static const ULONG KEEPALIVE_INTERVAL_MS = 5000;
static const DWORD KEEPALIVE_PROBES = 5;
// TCP_KEEPCNT, which Windows 10 version 1703 and later take; older systems keep
// their own count (10), which still ends within a minute and a half.
static const int TCP_KEEPCNT_OPTION = 16;

enum AcceptResult
{
    ACCEPT_TAKEN,
    ACCEPT_NONE_WAITING,
    ACCEPT_PEER_GONE, // reset or aborted before it was taken: try the next at once
    ACCEPT_FAILED
};

CSocketListener::CSocketListener(CServerCore& core, CListenerEvents& events)
    : m_core(core), m_events(events), m_listenSocket(INVALID_SOCKET), m_pThread(NULL),
      m_clientSocket(INVALID_SOCKET), m_heldSocket(INVALID_SOCKET), m_nHeldAddress(0),
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
// nAddress: the client's, for the log.
void CSocketListener::ServeClient(CWorkerThread& thread, uint32_t nAddress)
{
    SOCKET client = m_clientSocket;
    if (client != INVALID_SOCKET && !thread.IsStopRequested())
    {
        m_core.LogEvent("Client connected on Internet socket\r\n");
        CReceiveBuffer received = {};
        CPhoneLink link = {INVALID_HANDLE_VALUE, client, &thread, &received};
        bool bGoOn = DispatchFirstTcpCommand(m_core, link, FormatIPv4(nAddress).c_str());
        while (bGoOn && !thread.IsStopRequested() && DispatchCommand(m_core, link))
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

// A read on a connection whose peer has vanished then fails (WSAETIMEDOUT), so the
// command loop ends. Systems that refuse a setting keep their defaults: no failure
// here stops a phone from being served.
static void KeepAliveWhileIdle(SOCKET client)
{
    tcp_keepalive values = {1, KEEPALIVE_IDLE_MS, KEEPALIVE_INTERVAL_MS};
    DWORD nReturned = 0;
    WSAIoctl(client, SIO_KEEPALIVE_VALS, &values, sizeof(values), NULL, 0, &nReturned, NULL, NULL);
    DWORD nProbes = KEEPALIVE_PROBES;
    setsockopt(client, IPPROTO_TCP, TCP_KEEPCNT_OPTION, reinterpret_cast<const char*>(&nProbes),
               sizeof(nProbes));
}

static AcceptResult AcceptFailure(int nError)
{
    if (nError == WSAEWOULDBLOCK)
        return ACCEPT_NONE_WAITING;
    if (nError == WSAECONNRESET || nError == WSAECONNABORTED)
        return ACCEPT_PEER_GONE;
    return ACCEPT_FAILED;
}

// Takes one waiting connection into *pClient, as a blocking socket for the command
// loop, with its peer's IPv4 address in host order; *pnError when it fails.
static AcceptResult AcceptWaiting(SOCKET listenSocket, SOCKET* pClient, uint32_t* pnAddress,
                                  int* pnError)
{
    SOCKET client = accept(listenSocket, NULL, NULL);
    if (client == INVALID_SOCKET)
    {
        *pnError = WSAGetLastError();
        return AcceptFailure(*pnError);
    }
    // The address is asked for apart from accept: when the peer has reset already,
    // Wine still accepts but the lookup fails (WSAENOTCONN), and inside accept that
    // failure would look like a broken listener.
    sockaddr_in peer = {};
    int nLength = sizeof(peer);
    if (getpeername(client, reinterpret_cast<sockaddr*>(&peer), &nLength) != 0)
    {
        closesocket(client);
        return ACCEPT_PEER_GONE;
    }
    // It took over the listener's event and non-blocking mode.
    WSAEventSelect(client, NULL, 0);
    u_long nNonBlocking = 0;
    ioctlsocket(client, FIONBIO, &nNonBlocking);
    SwitchOffSendDelay(client);
    AcknowledgeAtOnce(client);
    KeepAliveWhileIdle(client);
    *pClient = client;
    *pnAddress = ntohl(peer.sin_addr.s_addr);
    return ACCEPT_TAKEN;
}

// A phone that was judged: served, held to ask the user about, or refused.
void CSocketListener::HandOver(CWorkerThread& thread, SOCKET client, uint32_t nAddress,
                               PhoneVerdict verdict)
{
    std::string address = FormatIPv4(nAddress);
    switch (verdict)
    {
    case PHONE_SERVE:
        ServeClient(thread, nAddress);
        break;
    case PHONE_ASK:
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

// Takes one waiting phone, if any. True when the listener should look again at
// once: a phone was taken, or one had gone before it could be. *pnLastError is the
// failure last logged, so a failure that lasts is logged once.
bool CSocketListener::TakeNewPhone(CWorkerThread& thread, SOCKET listenSocket, int* pnLastError)
{
    SOCKET client = INVALID_SOCKET;
    uint32_t nAddress = 0;
    int nError = 0;
    AcceptResult result = ACCEPT_FAILED;
    PhoneVerdict verdict = PHONE_SERVE;
    // Stored where Stop closes it, before anything waits on it.
    result = AcceptWaiting(listenSocket, &client, &nAddress, &nError);
    if (result == ACCEPT_TAKEN)
        verdict = m_approvals.Judge(nAddress);
    if (result == ACCEPT_TAKEN && verdict == PHONE_SERVE)
        m_clientSocket = client;
    if (result == ACCEPT_TAKEN && verdict == PHONE_ASK)
    {
        m_heldSocket = client;
        m_nHeldAddress = nAddress;
    }
    switch (result)
    {
    case ACCEPT_NONE_WAITING:
        return false;
    case ACCEPT_PEER_GONE:
        m_core.LogEvent("A client left before it was accepted on the Internet socket\r\n");
        return true;
    case ACCEPT_FAILED:
        // Closing the listening socket to stop us fails the accept too.
        if (nError != *pnLastError && !thread.IsStopRequested())
            m_core.LogEvent("Couldn't accept a client on the Internet socket (error %d); trying "
                            "again every second\r\n",
                            nError);
        *pnLastError = nError;
        thread.PauseUnlessStopped(ACCEPT_RETRY_MS);
        return true;
    case ACCEPT_TAKEN:
        break;
    }
    *pnLastError = 0;
    HandOver(thread, client, nAddress, verdict);
    return true;
}

// Once the user has answered about the held phone: served when allowed, else closed.
void CSocketListener::TakeAnsweredPhone(CWorkerThread& thread)
{
    bool bAllowed = false;
    if (!m_approvals.TakeAnswer(&bAllowed))
        return;
    if (!bAllowed)
    {
        CloseHeldPhone();
        return;
    }
    m_clientSocket = m_heldSocket.exchange(INVALID_SOCKET);
    ServeClient(thread, m_nHeldAddress);
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
    HANDLE waits[3] = {thread.GetStopEvent(), acceptReady.Get(), self.m_hAnswered};
    bool bLookAgain = false;
    int nLastError = 0;
    for (;;)
    {
        DWORD nWait = WaitForMultipleObjects(3, waits, FALSE, bLookAgain ? 0 : ACCEPT_CHECK_MS);
        if (nWait == WAIT_OBJECT_0 || nWait == WAIT_FAILED || thread.IsStopRequested())
            break;
        // Every round, so a stream of other phones never keeps the allowed one waiting.
        self.TakeAnsweredPhone(thread);
        bLookAgain = self.TakeNewPhone(thread, listenSocket, &nLastError);
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
    m_pThread = new CWorkerThread();
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

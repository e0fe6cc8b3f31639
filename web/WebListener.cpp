// The web remote's listener: its accept thread, the peer rule, and a thread per
// connection, at most WEB_MAX_CONNECTIONS of them.
#include "WebRemote.h"
#include <stdio.h>
#include "PeerAddress.h"
#include "WebConnection.h"
#include "../core/IPv4Text.h"
#include "../core/ServerCore.h"
#include "../framework/Sockets.h"

// How long stopping waits for the threads, all together, before terminating them.
static const DWORD STOP_GRACE_MS = 1000;
static const DWORD ACCEPT_RETRY_MS = 1000;
// A connection's thread runs one handler at a time, whose buffers are small; a
// smaller stack than the program's default keeps 16 of them cheap.
static const SIZE_T CONNECTION_STACK_SIZE = 256 * 1024;

CWebRemote::CWebRemote(CServerCore& core)
    : m_core(core), m_hCommandMutex(CreateMutexA(NULL, FALSE, NULL)),
      m_watch(core, m_hCommandMutex), m_bShutdownAllowed(false), m_listenSocket(INVALID_SOCKET),
      m_pAcceptThread(NULL)
{
    for (int i = 0; i < WEB_MAX_CONNECTIONS; i++)
    {
        m_slots[i].socket = INVALID_SOCKET;
        m_slots[i].bDone = true;
        m_slots[i].pOwner = this;
    }
}

CWebRemote::~CWebRemote()
{
    Stop();
    if (m_hCommandMutex)
        CloseHandle(m_hCommandMutex);
}

void CWebRemote::LoadPairings(const char* pszIniDir)
{
    std::string path;
    if (pszIniDir[0] != '\0')
        path = std::string(pszIniDir) + "\\" + PAIRED_BROWSERS_FILE_NAME;
    m_pairing.Load(path);
}

bool CWebRemote::Start(unsigned short nPort)
{
    Stop();
    m_listenSocket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    bool bListening = m_listenSocket != INVALID_SOCKET &&
                      BindToEveryAddress(m_listenSocket, nPort) == 0 &&
                      listen(m_listenSocket, SOMAXCONN) == 0;
    if (!bListening)
    {
        m_core.LogEvent("Web remote: can't listen on port %u (error %d)\r\n", nPort,
                        WSAGetLastError());
        Stop();
        return false;
    }
    m_pAcceptThread = new CWorkerThread();
    if (!m_watch.Start() || !m_pAcceptThread->Start(AcceptThread, this))
    {
        Stop();
        return false;
    }
    m_core.LogEvent("Web remote: listening on port %u\r\n", nPort);
    return true;
}

void CWebRemote::CloseSlotSocket(CSlot& slot)
{
    SOCKET client = slot.socket.exchange(INVALID_SOCKET);
    if (client == INVALID_SOCKET)
        return;
    // As on the phone's TCP link: closing alone may not wake a send under way.
    CancelIoEx(reinterpret_cast<HANDLE>(client), NULL);
    closesocket(client);
}

void CWebRemote::Stop()
{
    // The accept thread first, so that no connection starts behind the stop.
    DWORD nStart = GetTickCount();
    if (m_pAcceptThread)
        m_pAcceptThread->RequestStop();
    if (m_listenSocket != INVALID_SOCKET)
        closesocket(m_listenSocket);
    m_listenSocket = INVALID_SOCKET;
    if (m_pAcceptThread)
    {
        m_pAcceptThread->WaitOrTerminate(STOP_GRACE_MS);
        delete m_pAcceptThread;
        m_pAcceptThread = NULL;
    }
    for (int i = 0; i < WEB_MAX_CONNECTIONS; i++)
    {
        m_slots[i].thread.RequestStop();
        CloseSlotSocket(m_slots[i]);
    }
    m_watch.Stop();
    for (int i = 0; i < WEB_MAX_CONNECTIONS; i++)
    {
        DWORD nElapsed = GetTickCount() - nStart;
        m_slots[i].thread.WaitOrTerminate(nElapsed < STOP_GRACE_MS ? STOP_GRACE_MS - nElapsed : 0);
        m_slots[i].bDone = true;
    }
}

void CWebRemote::AcceptThread(CWorkerThread& thread, void* pParam)
{
    CWebRemote& remote = *static_cast<CWebRemote*>(pParam);
    // The user-interface thread closes the listening socket to wake us.
    SOCKET listenSocket = remote.m_listenSocket;
    while (!thread.IsStopRequested())
    {
        sockaddr_in address = {};
        int nAddressSize = sizeof(address);
        SOCKET client = accept(listenSocket, reinterpret_cast<sockaddr*>(&address), &nAddressSize);
        if (client == INVALID_SOCKET)
        {
            if (!thread.PauseUnlessStopped(ACCEPT_RETRY_MS))
                break;
            continue;
        }
        if (thread.IsStopRequested())
        {
            closesocket(client);
            break;
        }
        remote.AcceptOne(client, address);
    }
}

static const char BUSY_RESPONSE[] = "HTTP/1.1 503 Service Unavailable\r\n"
                                    "Content-Type: text/plain\r\nContent-Length: 5\r\n"
                                    "Connection: close\r\nRetry-After: 5\r\n\r\nBusy\n";

CWebRemote::CSlot* CWebRemote::FreeSlot()
{
    for (int i = 0; i < WEB_MAX_CONNECTIONS; i++)
    {
        CSlot& slot = m_slots[i];
        if (!slot.bDone)
            continue;
        // Its thread has returned or is about to: release it for the next one.
        slot.thread.WaitOrTerminate(STOP_GRACE_MS);
        return &slot;
    }
    return NULL;
}

void CWebRemote::AcceptOne(SOCKET client, const sockaddr_in& address)
{
    uint32_t nPeer = ntohl(address.sin_addr.s_addr);
    std::string peer = FormatIPv4(nPeer);
    // Nothing is read from a peer outside the local network, and it gets no answer.
    if (address.sin_family != AF_INET || !IsLocalPeerIPv4(nPeer))
    {
        m_core.LogEvent("Web remote: refused %s, which is not on the local network\r\n",
                        peer.c_str());
        closesocket(client);
        return;
    }
    CSlot* pSlot = FreeSlot();
    if (!pSlot)
    {
        // The small answer fits the socket's send buffer: it never blocks us.
        send(client, BUSY_RESPONSE, sizeof(BUSY_RESPONSE) - 1, 0);
        shutdown(client, SD_SEND);
        closesocket(client);
        return;
    }
    pSlot->peer = peer;
    pSlot->socket = client;
    pSlot->bDone = false;
    if (!pSlot->thread.Start(ConnectionThread, pSlot, CONNECTION_STACK_SIZE))
    {
        CloseSlotSocket(*pSlot);
        pSlot->bDone = true;
    }
}

static void SendErrorAndClose(CWebConnection& connection, HttpParseResult nParse)
{
    int nStatus = nParse == HTTP_PARSE_HEADERS_TOO_LARGE ? 431
                  : nParse == HTTP_PARSE_BODY_TOO_LARGE  ? 413
                                                         : 400;
    std::string body = std::string(HttpReasonPhrase(nStatus)) + "\n";
    connection.SendAll(BuildHttpResponseHead(nStatus, "text/plain", body.size(), false, "") + body);
}

void CWebRemote::ConnectionThread(CWorkerThread& thread, void* pParam)
{
    CSlot& slot = *static_cast<CSlot*>(pParam);
    {
        CWebConnection connection(slot.socket.load(), thread, slot.peer);
        CHttpRequestParser parser;
        bool bOpen = connection.IsReady();
        while (bOpen && !thread.IsStopRequested())
        {
            HttpParseResult nParse = HTTP_PARSE_INCOMPLETE;
            WebReadResult nRead = connection.ReadRequest(parser, &nParse);
            if (nRead == WEB_READ_BAD)
                SendErrorAndClose(connection, nParse);
            bOpen = nRead == WEB_READ_REQUEST && slot.pOwner->Serve(connection, parser.Request()) &&
                    parser.Request().KeepAlive();
        }
    }
    CloseSlotSocket(slot);
    slot.bDone = true;
}

// The web remote's listener: its accept thread, the peer rule, the share of
// places among peers, and a thread per connection.
#include "WebRemote.h"
#include <stdio.h>
#include "LocalAddresses.h"
#include "PeerAddress.h"
#include "WebConnection.h"
#include "WebResponses.h"
#include "../core/IPv4Text.h"
#include "../core/ServerCore.h"
#include "../core/WorkerJoin.h"
#include "../framework/ScopedHandle.h"
#include "../framework/Sockets.h"

// FD_ACCEPT is signalled again only after an accept, and Wine can leave it
// unsignalled after a stale notification: the listener also looks this often.
static const DWORD ACCEPT_CHECK_MS = 200;
// The pause after an accept that failed for want of sockets or buffers.
static const DWORD ACCEPT_RETRY_MS = 1000;
// A connection's thread runs one handler at a time, whose buffers are small; a
// smaller stack than the program's default keeps 16 of them cheap.
static const SIZE_T CONNECTION_STACK_SIZE = 256 * 1024;
// Slots whose threads were told to give up their places and have not yet ended
// count here too: they end at once, but a bound keeps them few.
static const size_t MAX_SLOTS = 2 * WEB_MAX_CONNECTIONS;
static const DWORD NAMES_REREAD_MS = 3000;

CWebRemote::CWebRemote(CServerCore& core)
    : m_core(core), m_hCommandMutex(CreateMutexA(NULL, FALSE, NULL)),
      m_watch(core, m_hCommandMutex), m_bShutdownAllowed(false), m_bInputAllowed(true), m_listenSocket(INVALID_SOCKET),
      m_pAcceptThread(NULL), m_nNamesReadMs(0)
{
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
    size_t nDropped = m_pairing.Load(path);
    if (nDropped > 0)
        m_core.LogEvent("Web remote: %u lines of %s dropped (browsers paired by an older "
                        "version, or keys this Windows user cannot open): those browsers pair "
                        "again\r\n",
                        static_cast<unsigned>(nDropped), PAIRED_BROWSERS_FILE_NAME);
}

bool CWebRemote::Start(unsigned short nPort)
{
    Stop();
    {
        std::lock_guard<std::mutex> lock(m_namesLock);
        m_pcNames = ReadPcNames();
        m_nNamesReadMs = GetTickCount();
    }
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
    m_drain.Open();
    m_pAcceptThread = new CWorkerThread();
    if (!m_watch.Start() || !m_pAcceptThread->Start(AcceptThread, this))
    {
        Stop();
        return false;
    }
    m_core.LogEvent("Web remote: listening on port %u\r\n", nPort);
    return true;
}

void CWebRemote::RemoveBrowser(const std::string& idHex)
{
    m_pairing.Remove(idHex);
    m_channels.EndBrowser(idHex);
}

void CWebRemote::Stop()
{
    // The accept thread first, so that no connection starts behind the stop. It
    // waits on nothing but its events and never holds a lock long.
    if (m_pAcceptThread)
    {
        m_pAcceptThread->RequestStop();
        JoinWorker(*m_pAcceptThread, "web remote's listener", m_core);
        delete m_pAcceptThread;
        m_pAcceptThread = NULL;
    }
    if (m_listenSocket != INVALID_SOCKET)
        closesocket(m_listenSocket);
    m_listenSocket = INVALID_SOCKET;
    StopConnections();
    m_drain.CloseAll();
    m_pairing.SaveSeen();
}

// Every connection's thread and the state watch are joined before anything they
// use goes: each waits on its stop event in every wait, and a player's call ends
// within its own deadline. Shutting a socket wakes nothing that the stop event
// does not, but the browser sees the end at once even when its thread is held up.
void CWebRemote::StopConnections()
{
    {
        std::lock_guard<std::mutex> lock(m_slotLock);
        for (size_t i = 0; i < m_slots.size(); i++)
        {
            m_slots[i]->pThread->RequestStop();
            if (m_slots[i]->socket != INVALID_SOCKET)
                shutdown(m_slots[i]->socket, SD_BOTH);
        }
    }
    m_watch.Stop();
    for (size_t i = 0; i < m_slots.size(); i++)
    {
        JoinWorker(*m_slots[i]->pThread, "web remote's connection", m_core);
        delete m_slots[i]->pThread;
        delete m_slots[i];
    }
    m_slots.clear();
}

void CWebRemote::AcceptThread(CWorkerThread& thread, void* pParam)
{
    CWebRemote& remote = *static_cast<CWebRemote*>(pParam);
    // Our own copy: the user-interface thread closes the listening socket once we have ended.
    SOCKET listenSocket = remote.m_listenSocket;
    CScopedHandle acceptReady(CreateEventA(NULL, FALSE, FALSE, NULL));
    if (!acceptReady.IsValid() || WSAEventSelect(listenSocket, acceptReady.Get(), FD_ACCEPT) != 0)
    {
        remote.m_core.LogEvent("Web remote: can't wait for browsers (error %d)\r\n",
                               WSAGetLastError());
        return;
    }
    HANDLE waits[3] = {thread.GetStopEvent(), acceptReady.Get(), remote.m_drain.Event()};
    DWORD nDrainDue = INFINITE;
    for (;;)
    {
        DWORD nWait = WaitForMultipleObjects(
            3, waits, FALSE, nDrainDue < ACCEPT_CHECK_MS ? nDrainDue : ACCEPT_CHECK_MS);
        if (nWait == WAIT_OBJECT_0 || nWait == WAIT_FAILED || thread.IsStopRequested())
            break;
        // Whatever woke us: FD_ACCEPT alone may never come again.
        remote.AcceptWaiting(thread, listenSocket);
        nDrainDue = remote.m_drain.ReadAll();
    }
    // The socket outlives the event: it must no longer set it.
    WSAEventSelect(listenSocket, NULL, 0);
}

// Takes every connection that is waiting. One reset before we took it is no
// reason to wait; only a want of sockets or buffers is (waiting then gives the
// system time to free some), and any other failure must not spin either.
void CWebRemote::AcceptWaiting(CWorkerThread& thread, SOCKET listenSocket)
{
    for (;;)
    {
        SOCKET client = accept(listenSocket, NULL, NULL);
        if (client != INVALID_SOCKET)
        {
            // The address is asked for apart from accept: when the peer has reset
            // already, Wine still accepts but the lookup fails (WSAENOTCONN).
            sockaddr_in address = {};
            int nAddressSize = sizeof(address);
            if (getpeername(client, reinterpret_cast<sockaddr*>(&address), &nAddressSize) == 0)
                AcceptOne(client, address);
            else
                closesocket(client);
            continue;
        }
        int nError = WSAGetLastError();
        if (nError == WSAECONNRESET || nError == WSAECONNABORTED)
            continue;
        if (nError != WSAEWOULDBLOCK)
            thread.PauseUnlessStopped(ACCEPT_RETRY_MS);
        return;
    }
}

static const char BUSY_RESPONSE[] = "HTTP/1.1 503 Service Unavailable\r\n"
                                    "Content-Type: text/plain\r\nContent-Length: 5\r\n"
                                    "Connection: close\r\nRetry-After: 5\r\n\r\nBusy\n";

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
    ReapEndedSlots();
    CSlot* pSlot = NULL;
    {
        std::lock_guard<std::mutex> lock(m_slotLock);
        if (MakeRoom(peer))
        {
            CSlot slot = {
                new CWorkerThread(), client, peer, GetTickCount(), true, false, false, false, this};
            pSlot = new CSlot(slot);
            m_slots.push_back(pSlot);
        }
    }
    // The accepted socket is non-blocking, like the listening one: the small
    // answer goes into its empty send buffer at once.
    if (!pSlot)
    {
        send(client, BUSY_RESPONSE, sizeof(BUSY_RESPONSE) - 1, 0);
        m_drain.Add(client);
        return;
    }
    if (pSlot->pThread->Start(ConnectionThread, pSlot, CONNECTION_STACK_SIZE))
        return;
    std::lock_guard<std::mutex> lock(m_slotLock);
    pSlot->socket = INVALID_SOCKET;
    pSlot->bDone = true;
    closesocket(client);
}

bool CWebRemote::MakeRoom(const std::string& peer)
{
    DWORD nNow = GetTickCount();
    int nTaken = 0;
    int nPeerTaken = 0;
    CSlot* pOldestIdle = NULL;
    for (size_t i = 0; i < m_slots.size(); i++)
    {
        CSlot& slot = *m_slots[i];
        if (slot.bDone || slot.bEvicted)
            continue;
        nTaken++;
        nPeerTaken += slot.peer == peer ? 1 : 0;
        if (!slot.bIdle || slot.bPaired)
            continue;
        if (!pOldestIdle || nNow - slot.nAcceptedMs > nNow - pOldestIdle->nAcceptedMs)
            pOldestIdle = &slot;
    }
    if (nPeerTaken >= WEB_MAX_CONNECTIONS_PER_PEER || m_slots.size() >= MAX_SLOTS)
        return false;
    if (nTaken < WEB_MAX_CONNECTIONS)
        return true;
    if (!pOldestIdle)
        return false;
    // Idle, it is waiting on its stop event and ends at once; TakeRequest stops
    // it should a request have come just now.
    pOldestIdle->bEvicted = true;
    pOldestIdle->pThread->RequestStop();
    return true;
}

// Slots whose threads have returned; one that is done with its slot but has
// not quite returned is looked at again at the next accept.
void CWebRemote::ReapEndedSlots()
{
    std::vector<CSlot*> ended;
    {
        std::lock_guard<std::mutex> lock(m_slotLock);
        size_t nKept = 0;
        for (size_t i = 0; i < m_slots.size(); i++)
        {
            if (m_slots[i]->bDone && m_slots[i]->pThread->Join(0))
                ended.push_back(m_slots[i]);
            else
                m_slots[nKept++] = m_slots[i];
        }
        m_slots.resize(nKept);
    }
    for (size_t i = 0; i < ended.size(); i++)
    {
        delete ended[i]->pThread;
        delete ended[i];
    }
}

bool CWebRemote::TakeRequest(CSlot& slot)
{
    std::lock_guard<std::mutex> lock(m_slotLock);
    if (slot.bEvicted)
        return false;
    slot.bIdle = false;
    return true;
}

void CWebRemote::EndRequest(CSlot& slot, bool bPaired)
{
    std::lock_guard<std::mutex> lock(m_slotLock);
    slot.bPaired = bPaired;
    slot.bIdle = true;
}

void CWebRemote::EndConnection(CSlot& slot, bool bDrain)
{
    SOCKET client = INVALID_SOCKET;
    {
        std::lock_guard<std::mutex> lock(m_slotLock);
        client = slot.socket;
        slot.socket = INVALID_SOCKET;
        if (!bDrain)
            closesocket(client);
        slot.bDone = true;
    }
    if (bDrain)
        m_drain.Add(client);
}

bool CWebRemote::IsThisPcHost(const std::string& host)
{
    std::lock_guard<std::mutex> lock(m_namesLock);
    if (IsHostOfThisPc(host, m_pcNames))
        return true;
    // The PC's addresses change as networks come and go.
    DWORD nNow = GetTickCount();
    if (nNow - m_nNamesReadMs < NAMES_REREAD_MS)
        return false;
    m_pcNames = ReadPcNames();
    m_nNamesReadMs = nNow;
    return IsHostOfThisPc(host, m_pcNames);
}

void CWebRemote::ConnectionThread(CWorkerThread& thread, void* pParam)
{
    CSlot& slot = *static_cast<CSlot*>(pParam);
    CWebRemote& remote = *slot.pOwner;
    bool bDrain = false;
    {
        CWebConnection connection(slot.socket, thread, slot.peer);
        CHttpRequestParser parser;
        bool bOpen = connection.IsReady();
        while (bOpen && !thread.IsStopRequested())
        {
            HttpParseResult nParse = HTTP_PARSE_INCOMPLETE;
            WebReadResult nRead = connection.ReadRequest(parser, &nParse);
            if (nRead == WEB_READ_CLOSED || !remote.TakeRequest(slot))
                break;
            if (nRead == WEB_READ_BAD)
                RespondParseError(connection, parser.Request(), nParse);
            bOpen = nRead == WEB_READ_REQUEST && remote.Serve(connection, parser.Request()) &&
                    parser.Request().KeepAlive();
            remote.EndRequest(slot, connection.IsPaired());
        }
        bDrain = connection.EndsAfterError();
    }
    remote.EndConnection(slot, bDrain);
}

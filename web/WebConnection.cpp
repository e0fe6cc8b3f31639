#include "WebConnection.h"

// Bytes held before the parser takes them: a browser sends one request at a
// time, so a little room for the start of the next is plenty. More waits in the
// socket until the parser has taken these (or refused the request).
static const size_t MAX_PENDING_BYTES = HTTP_MAX_HEADER_BYTES + HTTP_MAX_BODY_BYTES;

CWebConnection::CWebConnection(SOCKET client, const CWorkerThread& worker, const std::string& peer)
    : m_socket(client), m_hEvent(CreateEventA(NULL, FALSE, FALSE, NULL)), m_worker(worker),
      m_peer(peer), m_bPeerClosed(false), m_bMayBeReadable(false), m_bPaired(false),
      m_bEndAfterError(false)
{
    // Makes the socket non-blocking: every wait goes through Wait, with the stop event.
    // The event resets on its own when a wait takes it, saving a call per request.
    if (m_hEvent && WSAEventSelect(m_socket, m_hEvent, FD_READ | FD_WRITE | FD_CLOSE) != 0)
    {
        CloseHandle(m_hEvent);
        m_hEvent = NULL;
    }
}

CWebConnection::~CWebConnection()
{
    if (m_hEvent)
        CloseHandle(m_hEvent);
}

int CWebConnection::Wait(HANDLE hWake, DWORD nMs)
{
    HANDLE waits[3] = {m_worker.GetStopEvent(), m_hEvent, hWake};
    DWORD nCount = hWake ? 3 : 2;
    DWORD nWait = WaitForMultipleObjects(nCount, waits, FALSE, nMs);
    // The event resets itself as the wait takes it; the socket calls say what is there.
    if (nWait == WAIT_OBJECT_0 + 1)
        return 0;
    if (nWait == WAIT_OBJECT_0 + 2)
        return 1;
    return nWait == WAIT_TIMEOUT ? -1 : -2;
}

bool CWebConnection::ReceiveAvailable()
{
    while (m_pending.size() < MAX_PENDING_BYTES)
    {
        char buffer[4096];
        size_t nRoom = MAX_PENDING_BYTES - m_pending.size();
        int nWant = static_cast<int>(nRoom < sizeof(buffer) ? nRoom : sizeof(buffer));
        int nGot = recv(m_socket, buffer, nWant, 0);
        if (nGot > 0)
        {
            m_pending.append(buffer, nGot);
            // A short read took all there was; more raises the event again.
            if (nGot < nWant)
                return true;
            continue;
        }
        if (nGot == 0)
            m_bPeerClosed = true;
        return nGot == 0 || WSAGetLastError() == WSAEWOULDBLOCK;
    }
    // The socket may hold more, and its event is not raised again until we read.
    m_bMayBeReadable = true;
    return true;
}

WebReadResult CWebConnection::ReadRequest(CHttpRequestParser& parser, HttpParseResult* pnParse)
{
    parser.Reset();
    DWORD nStart = GetTickCount();
    bool bStarted = false;
    for (;;)
    {
        if (!m_pending.empty())
        {
            if (!bStarted)
                nStart = GetTickCount();
            bStarted = true;
            size_t nUsed = 0;
            *pnParse = parser.Feed(m_pending.data(), m_pending.size(), &nUsed);
            m_pending.erase(0, nUsed);
            if (*pnParse == HTTP_PARSE_DONE)
                return WEB_READ_REQUEST;
            if (*pnParse != HTTP_PARSE_INCOMPLETE)
                return WEB_READ_BAD;
        }
        if (m_bPeerClosed || m_worker.IsStopRequested())
            return WEB_READ_CLOSED;
        // A wait while sending may have taken the event of bytes not yet received.
        if (m_bMayBeReadable)
        {
            m_bMayBeReadable = false;
            if (!ReceiveAvailable())
                return WEB_READ_CLOSED;
            if (!m_pending.empty())
                continue;
        }
        DWORD nIdleLimit = m_bPaired ? WEB_IDLE_LIMIT_MS : WEB_UNPAIRED_IDLE_LIMIT_MS;
        DWORD nLimit = bStarted ? WEB_REQUEST_LIMIT_MS : nIdleLimit;
        DWORD nElapsed = GetTickCount() - nStart;
        if (nElapsed >= nLimit || Wait(NULL, nLimit - nElapsed) != 0)
            return WEB_READ_CLOSED;
        if (!ReceiveAvailable())
            return WEB_READ_CLOSED;
    }
}

bool CWebConnection::SendAll(const char* pData, size_t nSize)
{
    DWORD nLastProgress = GetTickCount();
    while (nSize > 0)
    {
        int nChunk = nSize > 65536 ? 65536 : static_cast<int>(nSize);
        int nSent = send(m_socket, pData, nChunk, 0);
        if (nSent > 0)
        {
            pData += nSent;
            nSize -= nSent;
            nLastProgress = GetTickCount();
            continue;
        }
        if (nSent < 0 && WSAGetLastError() != WSAEWOULDBLOCK)
            return false;
        DWORD nElapsed = GetTickCount() - nLastProgress;
        if (nElapsed >= WEB_SEND_LIMIT_MS || Wait(NULL, WEB_SEND_LIMIT_MS - nElapsed) != 0)
            return false;
        m_bMayBeReadable = true;
    }
    return true;
}

WebWaitResult CWebConnection::WaitForBytes(HANDLE hWake, DWORD nMs, std::string* pBytes)
{
    pBytes->clear();
    DWORD nStart = GetTickCount();
    for (;;)
    {
        if (!m_pending.empty())
        {
            pBytes->swap(m_pending);
            return WEB_WAIT_BYTES;
        }
        if (m_bPeerClosed || m_worker.IsStopRequested())
            return WEB_WAIT_CLOSED;
        if (m_bMayBeReadable)
        {
            m_bMayBeReadable = false;
            if (!ReceiveAvailable())
                return WEB_WAIT_CLOSED;
            continue;
        }
        DWORD nElapsed = GetTickCount() - nStart;
        if (nElapsed >= nMs)
            return WEB_WAIT_TIMEOUT;
        int nWait = Wait(hWake, nMs - nElapsed);
        if (nWait == 1)
            return WEB_WAIT_WAKE;
        if (nWait == -1)
            return WEB_WAIT_TIMEOUT;
        if (nWait == -2 || !ReceiveAvailable())
            return WEB_WAIT_CLOSED;
    }
}

void CWebConnection::SendAtOnce()
{
    BOOL bNoDelay = TRUE;
    setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&bNoDelay),
               sizeof(bNoDelay));
}

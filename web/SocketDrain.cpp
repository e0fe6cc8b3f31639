#include "SocketDrain.h"

// Read per socket and call: a client that keeps sending waits for the next round.
static const int MAX_DRAIN_READ = 65536;

CSocketDrain::CSocketDrain() : m_hEvent(CreateEventA(NULL, FALSE, FALSE, NULL)), m_bOpen(false) {}

CSocketDrain::~CSocketDrain()
{
    CloseAll();
    if (m_hEvent)
        CloseHandle(m_hEvent);
}

void CSocketDrain::Open()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_bOpen = true;
}

void CSocketDrain::Add(SOCKET client)
{
    shutdown(client, SD_SEND);
    std::lock_guard<std::mutex> lock(m_lock);
    // The socket's events now go to our event (and it stays non-blocking).
    bool bTaken = m_bOpen && m_sockets.size() < MAX_DRAINED_SOCKETS &&
                  WSAEventSelect(client, m_hEvent, FD_READ | FD_CLOSE) == 0;
    if (!bTaken)
    {
        closesocket(client);
        return;
    }
    CDrained drained = {client, GetTickCount()};
    m_sockets.push_back(drained);
    SetEvent(m_hEvent);
}

bool CSocketDrain::Drain(const CDrained& drained, DWORD nNow)
{
    if (nNow - drained.nStartMs >= DRAIN_LIMIT_MS)
        return false;
    char buffer[4096];
    for (int nRead = 0; nRead < MAX_DRAIN_READ;)
    {
        int nGot = recv(drained.socket, buffer, sizeof(buffer), 0);
        if (nGot <= 0)
            return nGot < 0 && WSAGetLastError() == WSAEWOULDBLOCK;
        nRead += nGot;
    }
    return true;
}

DWORD CSocketDrain::ReadAll()
{
    std::lock_guard<std::mutex> lock(m_lock);
    DWORD nNow = GetTickCount();
    DWORD nNextMs = INFINITE;
    size_t nKept = 0;
    for (size_t i = 0; i < m_sockets.size(); i++)
    {
        if (!Drain(m_sockets[i], nNow))
        {
            closesocket(m_sockets[i].socket);
            continue;
        }
        DWORD nLeft = DRAIN_LIMIT_MS - (nNow - m_sockets[i].nStartMs);
        nNextMs = nLeft < nNextMs ? nLeft : nNextMs;
        m_sockets[nKept++] = m_sockets[i];
    }
    m_sockets.resize(nKept);
    return nNextMs;
}

void CSocketDrain::CloseAll()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_bOpen = false;
    for (size_t i = 0; i < m_sockets.size(); i++)
        closesocket(m_sockets[i].socket);
    m_sockets.clear();
}

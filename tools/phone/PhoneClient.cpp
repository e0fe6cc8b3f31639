#include "PhoneClient.h"

static bool StartSockets()
{
    static bool s_bStarted = false;
    if (s_bStarted)
        return true;
    WSADATA wsaData;
    s_bStarted = WSAStartup(MAKEWORD(2, 2), &wsaData) == 0;
    return s_bStarted;
}

CPhoneClient::CPhoneClient()
    : m_socket(INVALID_SOCKET), m_hPort(INVALID_HANDLE_VALUE), m_nPendingAt(0), m_bLinkClosed(false)
{
}

CPhoneClient::~CPhoneClient()
{
    Close();
}

bool CPhoneClient::ConnectTcp(const char* pszHost, unsigned short nPort, DWORD nTimeoutMs,
                              const char* pszLocalAddress)
{
    Close();
    if (!StartSockets())
        return false;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(nPort);
    address.sin_addr.s_addr = inet_addr(pszHost);
    DWORD nStart = GetTickCount();
    for (;;)
    {
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET)
            return false;
        sockaddr_in local = {};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = pszLocalAddress ? inet_addr(pszLocalAddress) : htonl(INADDR_ANY);
        if (pszLocalAddress && bind(s, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0)
        {
            closesocket(s);
            return false;
        }
        if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0)
        {
            m_socket = s;
            return true;
        }
        closesocket(s);
        if (GetTickCount() - nStart >= nTimeoutMs)
            return false;
        Sleep(50);
    }
}

bool CPhoneClient::OpenComPort(const char* pszName)
{
    Close();
    std::string path = std::string("\\\\.\\") + pszName;
    m_hPort = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                          FILE_FLAG_OVERLAPPED, NULL);
    if (m_hPort == INVALID_HANDLE_VALUE)
        return false;
    COMMTIMEOUTS timeouts = {};
    SetCommTimeouts(m_hPort, &timeouts);
    return true;
}

void CPhoneClient::Close()
{
    if (m_socket != INVALID_SOCKET)
        closesocket(m_socket);
    m_socket = INVALID_SOCKET;
    if (m_hPort != INVALID_HANDLE_VALUE)
        CloseHandle(m_hPort);
    m_hPort = INVALID_HANDLE_VALUE;
    m_pending.clear();
    m_nPendingAt = 0;
    m_bLinkClosed = false;
}

void CPhoneClient::AbortConnection()
{
    if (m_socket == INVALID_SOCKET)
        return;
    linger hardClose = {1, 0};
    setsockopt(m_socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hardClose),
               sizeof(hardClose));
    Close();
}

static bool WaitOverlapped(HANDLE hPort, OVERLAPPED& overlapped, BOOL bStarted, DWORD nTimeoutMs,
                           DWORD& nDone)
{
    if (!bStarted && GetLastError() != ERROR_IO_PENDING)
        return false;
    if (!bStarted && WaitForSingleObject(overlapped.hEvent, nTimeoutMs) != WAIT_OBJECT_0)
    {
        CancelIo(hPort);
        GetOverlappedResult(hPort, &overlapped, &nDone, TRUE);
        return true; // what arrived before the time-out, possibly nothing
    }
    return GetOverlappedResult(hPort, &overlapped, &nDone, FALSE) != FALSE;
}

bool CPhoneClient::Send(const std::string& bytes)
{
    if (m_socket != INVALID_SOCKET)
    {
        size_t nSent = 0;
        while (nSent < bytes.size())
        {
            int n = send(m_socket, bytes.data() + nSent, static_cast<int>(bytes.size() - nSent), 0);
            if (n <= 0)
                return false;
            nSent += n;
        }
        return true;
    }
    if (m_hPort == INVALID_HANDLE_VALUE)
        return false;
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    DWORD nDone = 0;
    BOOL bStarted =
        WriteFile(m_hPort, bytes.data(), static_cast<DWORD>(bytes.size()), &nDone, &overlapped);
    bool bOk = WaitOverlapped(m_hPort, overlapped, bStarted, 10000, nDone);
    CloseHandle(overlapped.hEvent);
    return bOk && nDone == bytes.size();
}

int CPhoneClient::ReceiveFromSocket(char* pBuffer, int nMax, DWORD nTimeoutMs)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(m_socket, &readable);
    timeval timeout = {static_cast<long>(nTimeoutMs / 1000),
                       static_cast<long>((nTimeoutMs % 1000) * 1000)};
    int nReady = select(0, &readable, NULL, NULL, &timeout);
    if (nReady == 0)
        return 0;
    if (nReady < 0)
        return -1;
    int nGot = recv(m_socket, pBuffer, nMax, 0);
    return nGot > 0 ? nGot : -1;
}

static int ReadPort(HANDLE hPort, char* pBuffer, DWORD nCount, DWORD nTimeoutMs)
{
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    DWORD nDone = 0;
    BOOL bStarted = ReadFile(hPort, pBuffer, nCount, &nDone, &overlapped);
    bool bOk = WaitOverlapped(hPort, overlapped, bStarted, nTimeoutMs, nDone);
    CloseHandle(overlapped.hEvent);
    return bOk ? static_cast<int>(nDone) : -1;
}

int CPhoneClient::ReceiveFromPort(char* pBuffer, int nMax, DWORD nTimeoutMs)
{
    // With zero time-outs a read waits for its whole count: wait for one byte,
    // then take what the port has already queued behind it.
    int nGot = ReadPort(m_hPort, pBuffer, 1, nTimeoutMs);
    if (nGot <= 0)
        return nGot;
    DWORD nErrors = 0;
    COMSTAT status = {};
    if (!ClearCommError(m_hPort, &nErrors, &status) || status.cbInQue == 0)
        return nGot;
    DWORD nQueued = status.cbInQue;
    DWORD nMore = nQueued < static_cast<DWORD>(nMax - 1) ? nQueued : static_cast<DWORD>(nMax - 1);
    int nRest = ReadPort(m_hPort, pBuffer + 1, nMore, 10000);
    return nRest > 0 ? nGot + nRest : nGot;
}

int CPhoneClient::ReceiveBlock(DWORD nTimeoutMs)
{
    static const int BLOCK_SIZE = 65536;
    if (m_socket == INVALID_SOCKET && m_hPort == INVALID_HANDLE_VALUE)
        return -1;
    // Drop what was handed out, then read into the room behind what is left.
    m_pending.erase(0, m_nPendingAt);
    m_nPendingAt = 0;
    size_t nHave = m_pending.size();
    m_pending.resize(nHave + BLOCK_SIZE);
    int nGot = m_socket != INVALID_SOCKET
                   ? ReceiveFromSocket(&m_pending[nHave], BLOCK_SIZE, nTimeoutMs)
                   : ReceiveFromPort(&m_pending[nHave], BLOCK_SIZE, nTimeoutMs);
    m_pending.resize(nHave + (nGot > 0 ? nGot : 0));
    if (nGot < 0)
        m_bLinkClosed = true;
    return nGot;
}

std::string CPhoneClient::TakePending(size_t nCount)
{
    std::string bytes = m_pending.substr(m_nPendingAt, nCount);
    m_nPendingAt += bytes.size();
    if (m_nPendingAt == m_pending.size())
    {
        m_pending.clear();
        m_nPendingAt = 0;
    }
    return bytes;
}

bool CPhoneClient::Receive(size_t nCount, std::string& out, DWORD nTimeoutMs)
{
    DWORD nStart = GetTickCount();
    while (PendingSize() < nCount)
    {
        DWORD nElapsed = GetTickCount() - nStart;
        if (nElapsed >= nTimeoutMs || ReceiveBlock(nTimeoutMs - nElapsed) < 0)
        {
            out = TakePending(PendingSize());
            return false;
        }
    }
    out = TakePending(nCount);
    return true;
}

bool CPhoneClient::ReceiveThrough(char cEnd, std::string& out, DWORD nTimeoutMs)
{
    DWORD nStart = GetTickCount();
    size_t nSearched = 0;
    for (;;)
    {
        size_t nEnd = m_pending.find(cEnd, m_nPendingAt + nSearched);
        if (nEnd != std::string::npos)
        {
            out = TakePending(nEnd + 1 - m_nPendingAt);
            return true;
        }
        nSearched = PendingSize();
        DWORD nElapsed = GetTickCount() - nStart;
        if (nElapsed >= nTimeoutMs || ReceiveBlock(nTimeoutMs - nElapsed) < 0)
        {
            out = TakePending(PendingSize());
            return false;
        }
    }
}

std::string CPhoneClient::ReceiveUntilQuiet(DWORD nQuietMs, DWORD nTimeoutMs)
{
    std::string out = TakePending(PendingSize());
    DWORD nStart = GetTickCount();
    while (GetTickCount() - nStart < nTimeoutMs)
    {
        if (ReceiveBlock(nQuietMs) <= 0)
            break;
        out += TakePending(PendingSize());
    }
    return out;
}

bool CPhoneClient::WaitForClose(DWORD nTimeoutMs)
{
    TakePending(PendingSize());
    DWORD nStart = GetTickCount();
    while (GetTickCount() - nStart < nTimeoutMs)
    {
        if (ReceiveBlock(100) < 0)
            return true;
        TakePending(PendingSize());
    }
    return false;
}

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

CPhoneClient::CPhoneClient() : m_socket(INVALID_SOCKET), m_hPort(INVALID_HANDLE_VALUE) {}

CPhoneClient::~CPhoneClient()
{
    Close();
}

bool CPhoneClient::ConnectTcp(const char* pszHost, unsigned short nPort, DWORD nTimeoutMs)
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

int CPhoneClient::ReceiveSome(char* pBuffer, int nMax, DWORD nTimeoutMs)
{
    if (m_socket != INVALID_SOCKET)
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
    if (m_hPort == INVALID_HANDLE_VALUE)
        return -1;
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    DWORD nDone = 0;
    // One byte at a time: with zero time-outs a larger read would wait for all of it.
    BOOL bStarted = ReadFile(m_hPort, pBuffer, 1, &nDone, &overlapped);
    bool bOk = WaitOverlapped(m_hPort, overlapped, bStarted, nTimeoutMs, nDone);
    CloseHandle(overlapped.hEvent);
    (void)nMax;
    return bOk ? static_cast<int>(nDone) : -1;
}

bool CPhoneClient::Receive(size_t nCount, std::string& out, DWORD nTimeoutMs)
{
    out.clear();
    DWORD nStart = GetTickCount();
    char buffer[4096];
    while (out.size() < nCount)
    {
        DWORD nElapsed = GetTickCount() - nStart;
        if (nElapsed >= nTimeoutMs)
            return false;
        size_t nWant = nCount - out.size();
        int nMax = static_cast<int>(nWant < sizeof(buffer) ? nWant : sizeof(buffer));
        int nGot = ReceiveSome(buffer, nMax, nTimeoutMs - nElapsed);
        if (nGot < 0)
            return false;
        out.append(buffer, nGot);
    }
    return true;
}

std::string CPhoneClient::ReceiveUntilQuiet(DWORD nQuietMs, DWORD nTimeoutMs)
{
    std::string out;
    DWORD nStart = GetTickCount();
    char buffer[4096];
    while (GetTickCount() - nStart < nTimeoutMs)
    {
        int nGot = ReceiveSome(buffer, sizeof(buffer), nQuietMs);
        if (nGot <= 0)
            break;
        out.append(buffer, nGot);
    }
    return out;
}

bool CPhoneClient::WaitForClose(DWORD nTimeoutMs)
{
    DWORD nStart = GetTickCount();
    char buffer[256];
    while (GetTickCount() - nStart < nTimeoutMs)
    {
        int nGot = ReceiveSome(buffer, sizeof(buffer), 100);
        if (nGot < 0)
            return true;
    }
    return false;
}

std::string EncodeBE16(unsigned nValue)
{
    std::string bytes;
    bytes += static_cast<char>((nValue >> 8) & 0xFF);
    bytes += static_cast<char>(nValue & 0xFF);
    return bytes;
}

std::string EncodeBE32(unsigned long nValue)
{
    std::string bytes;
    for (int nShift = 24; nShift >= 0; nShift -= 8)
        bytes += static_cast<char>((nValue >> nShift) & 0xFF);
    return bytes;
}

std::string EncodeName(const std::string& name)
{
    return EncodeBE16(static_cast<unsigned>(name.size())) + name;
}

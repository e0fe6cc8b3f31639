#include "BenchSupport.h"
#include <psapi.h>
#include <stdio.h>
#include <algorithm>

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double AlternatingRatio(const char* pszServer, BenchRound pServer, const char* pszBaseline,
                        BenchRound pBaseline, void* pContext, int nRounds)
{
    std::vector<double> ratios;
    int nFailures = 0;
    for (int i = 0; i < nRounds; i++)
    {
        double fServer = pServer(pContext);
        double fBaseline = pBaseline(pContext);
        if (fServer <= 0 || fBaseline <= 0)
        {
            printf("  round %d failed (%s %s, %s %s); ", i + 1, pszServer,
                   fServer <= 0 ? "failed" : "done", pszBaseline,
                   fBaseline <= 0 ? "failed" : "done");
            if (++nFailures == 3)
                return printf("given up\n"), -1;
            printf("once more\n");
            i--;
            continue;
        }
        ratios.push_back(fServer / fBaseline);
        printf("  round %d: %s %.3f s, %s %.3f s, ratio %.2f\n", i + 1, pszServer, fServer,
               pszBaseline, fBaseline, fServer / fBaseline);
        fflush(stdout);
    }
    return Median(ratios);
}

void MakeCollection(const std::string& root)
{
    CreateDirectoryA(root.c_str(), NULL);
    char szName[64];
    for (int nArtist = 0; nArtist < 40; nArtist++)
    {
        snprintf(szName, sizeof(szName), "\\Artist %02d", nArtist);
        std::string artist = root + szName;
        CreateDirectoryA(artist.c_str(), NULL);
        for (int nAlbum = 0; nAlbum < 50; nAlbum++)
        {
            snprintf(szName, sizeof(szName), "\\Album %02d", nAlbum);
            std::string album = artist + szName;
            CreateDirectoryA(album.c_str(), NULL);
            for (int nTrack = 0; nTrack < 25; nTrack++)
            {
                snprintf(szName, sizeof(szName), "\\%02d - Some Track Title.mp3", nTrack);
                HANDLE hFile = CreateFileA((album + szName).c_str(), GENERIC_WRITE, 0, NULL,
                                           CREATE_ALWAYS, 0, NULL);
                CloseHandle(hFile);
            }
        }
    }
}

void MakeBigFile(const std::string& path, long long nBytes)
{
    HANDLE hFile = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    std::string block(1 << 20, 'q');
    DWORD nWritten = 0;
    for (long long n = 0; n < nBytes; n += block.size())
        WriteFile(hFile, block.data(), static_cast<DWORD>(block.size()), &nWritten, NULL);
    CloseHandle(hFile);
}

ServerMemory ReadServerMemory(HANDLE hProcess)
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    const double MB = 1048576.0;
    // The commit charge: what the process has allocated for itself (Wine fills no PrivateUsage).
    ServerMemory memory = {counters.PagefileUsage / MB, counters.PeakPagefileUsage / MB,
                           counters.WorkingSetSize / MB, counters.PeakWorkingSetSize / MB};
    return memory;
}

CBenchPhone::CBenchPhone() : m_socket(INVALID_SOCKET), m_buffer(65536) {}

CBenchPhone::~CBenchPhone()
{
    Close();
}

void CBenchPhone::SendAtOnce()
{
    BOOL bNoDelay = TRUE;
    setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&bNoDelay),
               sizeof(bNoDelay));
}

bool CBenchPhone::Connect(unsigned short nPort, DWORD nTimeoutMs)
{
    Close();
    WSADATA wsaData;
    WSAStartup(MAKEWORD(2, 2), &wsaData);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(nPort);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    DWORD nStart = GetTickCount();
    while (GetTickCount() - nStart < nTimeoutMs)
    {
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0)
        {
            DWORD nReceiveLimitMs = 20000;
            setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&nReceiveLimitMs),
                       sizeof(nReceiveLimitMs));
            m_socket = s;
            return true;
        }
        closesocket(s);
        Sleep(50);
    }
    return false;
}

void CBenchPhone::Close()
{
    if (m_socket != INVALID_SOCKET)
        closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}

bool CBenchPhone::Send(const std::string& bytes)
{
    for (size_t nSent = 0; nSent < bytes.size();)
    {
        int n = send(m_socket, bytes.data() + nSent, static_cast<int>(bytes.size() - nSent), 0);
        if (n <= 0)
            return false;
        nSent += n;
    }
    return true;
}

bool CBenchPhone::Receive(size_t nCount, std::string& out)
{
    out.clear();
    while (out.size() < nCount)
    {
        int nWant = static_cast<int>(std::min(nCount - out.size(), m_buffer.size()));
        int n = recv(m_socket, &m_buffer[0], nWant, 0);
        if (n <= 0)
            return false;
        out.append(&m_buffer[0], n);
    }
    return true;
}

bool CBenchPhone::Drain(long long nCount)
{
    while (nCount > 0)
    {
        int nWant = static_cast<int>(std::min<long long>(nCount, m_buffer.size()));
        int n = recv(m_socket, &m_buffer[0], nWant, 0);
        if (n <= 0)
            return false;
        nCount -= n;
    }
    return true;
}

long long CBenchPhone::ReadListing()
{
    std::string tag;
    if (!Receive(7, tag) || tag != "LISTACK")
        return -1;
    // A record is a head byte (never FF) and a name up to its zero byte.
    long long nRecords = 0;
    bool bInName = false, bEndMark = false;
    for (;;)
    {
        int n = recv(m_socket, &m_buffer[0], static_cast<int>(m_buffer.size()), 0);
        if (n <= 0)
            return -1;
        for (int i = 0; i < n; i++)
        {
            unsigned char c = static_cast<unsigned char>(m_buffer[i]);
            if (bEndMark)
                return i + 1 == n ? nRecords : -1; // the 00 after FF ends the reply
            if (bInName)
                bInName = c != 0;
            else if (c == 0xFF)
                bEndMark = true;
            else
            {
                nRecords++;
                bInName = true;
            }
        }
    }
}

bool CServerPair::Start(const std::string& settings, const std::string& otherExe)
{
    for (int i = 0; i < 2; i++)
    {
        dirs[i].WriteFile("QuorvelServer.ini",
                          "[QuorvelServer]\r\nListenOnSocket=" + std::to_string(i == 0) +
                              "\r\nWebRemotePort=" + std::to_string(7655 + i) + "\r\n" + settings);
        if (!servers[i].Start(dirs[i].Path(), i == 0 ? "" : otherExe))
            return false;
    }
    return true;
}

bool CServerPair::Connect(int nServer, CBenchPhone& phone)
{
    if (nServer != nListening)
    {
        servers[nListening].Click(LISTEN_ON_SOCKET_ID);
        servers[nServer].Click(LISTEN_ON_SOCKET_ID);
        nListening = nServer;
    }
    return phone.Connect(7654, 10000);
}

void CServerPair::Relisten()
{
    servers[nListening].Click(LISTEN_ON_SOCKET_ID);
    servers[nListening].Click(LISTEN_ON_SOCKET_ID);
}

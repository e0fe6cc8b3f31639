// Benchmark: LIST of a generated collection (50,000 files in 2,000 folders)
// against a plain recursive FindFirstFileA walk of the same tree, with the
// server's peak memory; and DOWN of a 200 MB file against sending the same file
// over a plain loopback socket.
#include <winsock2.h>
#include <windows.h>
#include <psapi.h>
#include <stdio.h>
#include <string>
#include "PhoneClient.h"
#include "ServerProcess.h"

static const int TOP_FOLDERS = 40, SUB_FOLDERS = 50, FILES_PER_FOLDER = 25;
static const long long DOWNLOAD_BYTES = 200LL * 1024 * 1024;

static double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

static void MakeCollection(const std::string& root)
{
    CreateDirectoryA(root.c_str(), NULL);
    char szName[64];
    for (int t = 0; t < TOP_FOLDERS; t++)
    {
        snprintf(szName, sizeof(szName), "\\Artist %02d", t);
        std::string top = root + szName;
        CreateDirectoryA(top.c_str(), NULL);
        for (int s = 0; s < SUB_FOLDERS; s++)
        {
            snprintf(szName, sizeof(szName), "\\Album %02d", s);
            std::string sub = top + szName;
            CreateDirectoryA(sub.c_str(), NULL);
            for (int f = 0; f < FILES_PER_FOLDER; f++)
            {
                snprintf(szName, sizeof(szName), "\\%02d - Some Track Title.mp3", f);
                HANDLE h = CreateFileA((sub + szName).c_str(), GENERIC_WRITE, 0, NULL,
                                       CREATE_ALWAYS, 0, NULL);
                CloseHandle(h);
            }
        }
    }
}

static long long WalkTree(const std::string& folder)
{
    long long nEntries = 0;
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return 0;
    do
    {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        nEntries++;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            nEntries += WalkTree(folder + "\\" + name);
    } while (FindNextFileA(hFind, &found));
    FindClose(hFind);
    return nEntries;
}

// Reads a listing to its end mark; returns the number of records.
static long long ReadListing(CPhoneClient& phone)
{
    std::string tag, chunk;
    if (!phone.Receive(7, tag, 600000))
        return -1;
    long long nRecords = 0;
    bool bInName = false, bEnd = false;
    while (true)
    {
        std::string some = phone.ReceiveUntilQuiet(2000, 2000);
        if (some.empty())
            return -1;
        for (char c : some)
        {
            if (bEnd)
                return nRecords;
            if (bInName)
                bInName = c != '\0';
            else if (c == '\xFF')
                bEnd = true;
            else
            {
                nRecords++;
                bInName = true;
            }
        }
        if (bEnd)
            return nRecords;
    }
}

static bool ReceiveCount(CPhoneClient& phone, long long nBytes)
{
    std::string part;
    while (nBytes > 0)
    {
        size_t nWant = nBytes > (1 << 20) ? (1 << 20) : static_cast<size_t>(nBytes);
        if (!phone.Receive(nWant, part, 60000))
            return false;
        nBytes -= nWant;
    }
    return true;
}

struct PlainSend
{
    SOCKET listener;
    std::string path;
};

static DWORD WINAPI SendFilePlainly(void* pParam)
{
    PlainSend* pSend = static_cast<PlainSend*>(pParam);
    SOCKET client = accept(pSend->listener, NULL, NULL);
    HANDLE hFile = CreateFileA(pSend->path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                               OPEN_EXISTING, 0, NULL);
    static char buffer[65536];
    DWORD nRead = 0;
    while (ReadFile(hFile, buffer, sizeof(buffer), &nRead, NULL) && nRead > 0)
    {
        for (DWORD nSent = 0; nSent < nRead;)
        {
            int n = send(client, buffer + nSent, nRead - nSent, 0);
            if (n <= 0)
                break;
            nSent += n;
        }
    }
    CloseHandle(hFile);
    closesocket(client);
    return 0;
}

static double PlainSocketSeconds(const std::string& path)
{
    PlainSend send = {socket(AF_INET, SOCK_STREAM, IPPROTO_TCP), path};
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(send.listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    int nLength = sizeof(address);
    getsockname(send.listener, reinterpret_cast<sockaddr*>(&address), &nLength);
    listen(send.listener, 1);
    HANDLE hThread = CreateThread(NULL, 0, SendFilePlainly, &send, 0, NULL);
    CPhoneClient receiver;
    char szHost[] = "127.0.0.1";
    double fStart = Now();
    if (!receiver.ConnectTcp(szHost, ntohs(address.sin_port), 5000) ||
        !ReceiveCount(receiver, DOWNLOAD_BYTES))
        return -1;
    double fSeconds = Now() - fStart;
    WaitForSingleObject(hThread, 10000);
    CloseHandle(hThread);
    closesocket(send.listener);
    return fSeconds;
}

static SIZE_T WorkingSet(HANDLE hProcess, bool bPeak)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(hProcess, &counters, sizeof(counters));
    return bPeak ? counters.PeakWorkingSetSize : counters.WorkingSetSize;
}

int main()
{
    CTempDir dir;
    std::string root = dir.File("Collection");
    printf("making %d files in %d folders...\n", TOP_FOLDERS * SUB_FOLDERS * FILES_PER_FOLDER,
           TOP_FOLDERS * SUB_FOLDERS);
    MakeCollection(root);

    dir.WriteFile("QuorvelServer.ini",
                  "[QuorvelServer]\r\nListenOnSocket=1\r\nPath=" + root + "\r\n");
    CServerProcess server;
    CPhoneClient phone;
    if (!server.Start(dir.Path()) || !phone.ConnectTcp("127.0.0.1", 7654, 10000))
        return fprintf(stderr, "bench: the server did not start\n"), 1;

    SIZE_T nBefore = WorkingSet(server.ProcessHandle(), false);
    double fStart = Now();
    phone.Send("LIST");
    long long nRecords = ReadListing(phone);
    double fList = Now() - fStart;
    SIZE_T nPeak = WorkingSet(server.ProcessHandle(), true);

    fStart = Now();
    long long nEntries = WalkTree(root);
    double fWalk = Now() - fStart;

    printf("LIST of %lld records: %.3f s\n", nRecords, fList);
    printf("plain FindFirstFileA walk of %lld entries: %.3f s\n", nEntries, fWalk);
    printf("ratio (LIST / walk): %.1f\n", fList / fWalk);
    printf("server working set: %.1f MB before, peak %.1f MB\n", nBefore / 1048576.0,
           nPeak / 1048576.0);

    std::string big = dir.File("big.bin");
    {
        HANDLE hFile = CreateFileA(big.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        std::string block(1 << 20, 'q');
        DWORD nWritten = 0;
        for (long long n = 0; n < DOWNLOAD_BYTES; n += block.size())
            WriteFile(hFile, block.data(), static_cast<DWORD>(block.size()), &nWritten, NULL);
        CloseHandle(hFile);
    }
    fStart = Now();
    std::string tag;
    phone.Send("DOWN" + EncodeName(big));
    if (!phone.Receive(7, tag, 60000) || !ReceiveCount(phone, DOWNLOAD_BYTES))
        return fprintf(stderr, "bench: DOWN did not complete\n"), 1;
    double fDown = Now() - fStart;
    double fPlain = PlainSocketSeconds(big);
    printf("DOWN of 200 MB: %.3f s (%.1f MB/s)\n", fDown, 200 / fDown);
    printf("plain socket, same file: %.3f s (%.1f MB/s)\n", fPlain, 200 / fPlain);
    printf("ratio (DOWN / plain): %.1f\n", fDown / fPlain);
    phone.Close();
    server.Kill();
    return 0;
}

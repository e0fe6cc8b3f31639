// Benchmark: DOWN of a 200 MB file through the server, against a plain socket
// that sends the same file in 64 KB writes; the same reader reads both. Rounds
// alternate; the figure printed is the server's speed as a share of the plain
// socket's (the median of plain time / DOWN time).
#include <stdio.h>
#include <string>
#include "BenchSupport.h"
#include "PhoneClient.h"
#include "ServerProcess.h"

static const int ROUNDS = 9;
static const long long FILE_BYTES = 200LL * 1024 * 1024;

struct DownContext
{
    CBenchPhone* pPhone;
    std::string path;
    SOCKET listener;
    unsigned short nPort;
};

// The plain sender: accepts one reader and sends it the file, 64 KB a write.
static DWORD WINAPI SendPlainly(void* pParam)
{
    DownContext& context = *static_cast<DownContext*>(pParam);
    SOCKET client = accept(context.listener, NULL, NULL);
    HANDLE hFile = CreateFileA(context.path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                               OPEN_EXISTING, 0, NULL);
    std::string block(65536, '\0');
    DWORD nRead = 0;
    bool bOk = true;
    while (bOk && ReadFile(hFile, &block[0], 65536, &nRead, NULL) && nRead > 0)
    {
        for (DWORD nSent = 0; bOk && nSent < nRead;)
        {
            int n = send(client, &block[nSent], nRead - nSent, 0);
            bOk = n > 0;
            nSent += n;
        }
    }
    CloseHandle(hFile);
    closesocket(client);
    return 0;
}

static double ThroughServer(void* pParam)
{
    DownContext& context = *static_cast<DownContext*>(pParam);
    double fStart = Now();
    std::string tag;
    if (!context.pPhone->Send("DOWN" + EncodeName(context.path)) ||
        !context.pPhone->Receive(7, tag) || !context.pPhone->Drain(FILE_BYTES))
        return -1;
    return Now() - fStart;
}

static double PlainSocket(void* pParam)
{
    DownContext& context = *static_cast<DownContext*>(pParam);
    HANDLE hSender = CreateThread(NULL, 0, SendPlainly, &context, 0, NULL);
    CBenchPhone reader;
    double fStart = Now();
    bool bOk = reader.Connect(context.nPort, 10000) && reader.Drain(FILE_BYTES);
    double fSeconds = Now() - fStart;
    WaitForSingleObject(hSender, 60000);
    CloseHandle(hSender);
    return bOk ? fSeconds : -1;
}

int main()
{
    CTempDir dir;
    DownContext context = {NULL, dir.File("big.bin"), INVALID_SOCKET, 0};
    MakeBigFile(context.path, FILE_BYTES);
    dir.WriteFile("QuorvelServer.ini", "[QuorvelServer]\r\nListenOnSocket=1\r\n");
    CServerProcess server;
    CBenchPhone phone;
    if (!server.Start(dir.Path()) || !phone.Connect(7654, 10000))
        return fprintf(stderr, "bench: the server did not start\n"), 1;
    context.pPhone = &phone;

    context.listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(context.listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    int nLength = sizeof(address);
    getsockname(context.listener, reinterpret_cast<sockaddr*>(&address), &nLength);
    listen(context.listener, 1);
    context.nPort = ntohs(address.sin_port);

    double fRatio = AlternatingRatio("DOWN", ThroughServer, "plain", PlainSocket, &context, ROUNDS);
    closesocket(context.listener);
    printf("DOWN speed as a share of the plain socket's (median): %.2f (target >= 0.8)\n",
           fRatio > 0 ? 1 / fRatio : -1);
    return fRatio > 0 ? 0 : 1;
}

// Benchmark: LIST of 50,000 files in 2,000 folders through the server, against
// a bare recursive FindFirstFileA walk of the same folders, in alternating rounds;
// and the server's peak memory beyond what it used before the first LIST.
#include <stdio.h>
#include <string.h>
#include <string>
#include "BenchSupport.h"
#include "ServerProcess.h"

static const int ROUNDS = 5;

struct ListContext
{
    CBenchPhone* pPhone;
    std::string root;
    long long nRecords;
    long long nEntries;
};

static long long Walk(const char* pszFolder)
{
    char szPath[MAX_PATH];
    snprintf(szPath, sizeof(szPath), "%s\\*.*", pszFolder);
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA(szPath, &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return 0;
    long long nEntries = 0;
    do
    {
        if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0)
            continue;
        nEntries++;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        snprintf(szPath, sizeof(szPath), "%s\\%s", pszFolder, found.cFileName);
        nEntries += Walk(szPath);
    } while (FindNextFileA(hFind, &found));
    FindClose(hFind);
    return nEntries;
}

static double ThroughServer(void* pParam)
{
    ListContext& context = *static_cast<ListContext*>(pParam);
    double fStart = Now();
    if (!context.pPhone->Send("LIST"))
        return -1;
    context.nRecords = context.pPhone->ReadListing();
    return context.nRecords > 0 ? Now() - fStart : -1;
}

static double BareWalk(void* pParam)
{
    ListContext& context = *static_cast<ListContext*>(pParam);
    double fStart = Now();
    context.nEntries = Walk(context.root.c_str());
    return Now() - fStart;
}

int main()
{
    CTempDir dir;
    std::string root = dir.File("Collection");
    printf("making 50,000 files in 2,000 folders...\n");
    fflush(stdout);
    MakeCollection(root);
    dir.WriteFile("QuorvelServer.ini",
                  "[QuorvelServer]\r\nListenOnSocket=1\r\nPath=" + root + "\r\n");
    CServerProcess server;
    CBenchPhone phone;
    if (!server.Start(dir.Path()) || !phone.Connect(7654, 10000))
        return fprintf(stderr, "bench: the server did not start\n"), 1;
    Sleep(1000);
    ServerMemory before = ReadServerMemory(server.ProcessHandle());

    ListContext context = {&phone, root, 0, 0};
    double fRatio = AlternatingRatio("LIST", ThroughServer, "walk", BareWalk, &context, ROUNDS);
    ServerMemory after = ReadServerMemory(server.ProcessHandle());
    printf("LIST of %lld records; the walk found %lld entries\n", context.nRecords,
           context.nEntries);
    printf("LIST ratio (median LIST / walk): %.2f (target <= 1.3)\n", fRatio);
    printf("server private memory: %.1f MB before, peak %.1f MB: %.1f MB extra (target <= 8)\n",
           before.fPrivateMb, after.fPeakPrivateMb, after.fPeakPrivateMb - before.fPrivateMb);
    printf("server working set: %.1f MB before, peak %.1f MB: %.1f MB extra\n", before.fWorkingMb,
           after.fPeakWorkingMb, after.fPeakWorkingMb - before.fWorkingMb);
    return fRatio > 0 ? 0 : 1;
}

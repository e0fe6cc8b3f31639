// A stand-in for ws2_32.dll, for starting the server on a machine without a
// usable Windows Sockets 1.1: WSAStartup fails ("fail") or answers with version
// 2.2 ("version"), as QUORVEL_FAKE_WINSOCK says. It appends the calls it gets to
// winsock-calls.txt in the working directory. Every other export fails.
#include <windows.h>

static void RecordCall(const char* pszLine)
{
    HANDLE hFile = CreateFileA("winsock-calls.txt", FILE_APPEND_DATA, FILE_SHARE_READ, NULL,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    DWORD nWritten = 0;
    WriteFile(hFile, pszLine, lstrlenA(pszLine), &nWritten, NULL);
    CloseHandle(hFile);
}

static bool AnswersWithWrongVersion()
{
    char szMode[16] = "";
    GetEnvironmentVariableA("QUORVEL_FAKE_WINSOCK", szMode, sizeof(szMode));
    return lstrcmpA(szMode, "version") == 0;
}

// The start of WSADATA, which is all the server reads.
struct WsaVersions
{
    WORD wVersion;
    WORD wHighVersion;
};

extern "C" int WINAPI FakeWSAStartup(WORD wRequested, WsaVersions* pData)
{
    char szLine[32];
    wsprintfA(szLine, "WSAStartup %d.%d\n", LOBYTE(wRequested), HIBYTE(wRequested));
    RecordCall(szLine);
    if (!AnswersWithWrongVersion())
        return 10092; // WSAVERNOTSUPPORTED
    pData->wVersion = MAKEWORD(2, 2);
    pData->wHighVersion = MAKEWORD(2, 2);
    return 0;
}

extern "C" int WINAPI FakeWSACleanup()
{
    RecordCall("WSACleanup\n");
    return 0;
}

extern "C" INT_PTR WINAPI FakeNotAvailable()
{
    SetLastError(10093); // WSANOTINITIALISED
    return -1;
}

#include <winsock2.h>
#include <stdlib.h>
#include "Sockets.h"

static void CleanUpSockets()
{
    WSACleanup();
}

bool AfxSocketInit()
{
    WSADATA wsaData;
    if (WSAStartup(MAKEWORD(1, 1), &wsaData) != 0)
        return false;
    if (wsaData.wVersion != MAKEWORD(1, 1))
    {
        WSACleanup();
        return false;
    }
    atexit(CleanUpSockets);
    return true;
}

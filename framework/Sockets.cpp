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

int BindToEveryAddress(SOCKET s, unsigned short nPort)
{
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(nPort);
    return bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
}

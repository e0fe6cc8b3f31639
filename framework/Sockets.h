// Windows Sockets start-up for the whole program, and what its listeners share.
#pragma once
#include <winsock2.h>

// Starts Windows Sockets 1.1 and accepts only exactly that version; registers
// the clean-up for the end of the program. Returns false when not available.
bool AfxSocketInit();

// Binds the socket to the port on every local IPv4 address; bind's result.
int BindToEveryAddress(SOCKET s, unsigned short nPort);

// Proposes the COM port from the Widcomm Bluetooth stack's service records.
#include "ComPortDiscovery.h"
#include <stdio.h>
#include <string.h>
#include "ComPortName.h"
#include "../core/ServerCore.h"
#include "../framework/ScopedHandle.h"

static const char* const SERVICES_KEY = "Software\\Widcomm\\BTConfig\\Services";

// The service's Name, terminated even when the value fills all 256 bytes.
static bool ReadServiceName(HKEY hService, char* pName, DWORD nSize)
{
    DWORD nType = 0;
    DWORD nRead = nSize - 1;
    if (RegQueryValueExA(hService, "Name", NULL, &nType, reinterpret_cast<BYTE*>(pName), &nRead) !=
        ERROR_SUCCESS)
        return false;
    pName[nRead < nSize ? nRead : nSize - 1] = '\0';
    return true;
}

int FindBluetoothComPort(CServerCore& core)
{
    CScopedRegKey services;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SERVICES_KEY, 0, KEY_READ, services.Receive()) !=
        ERROR_SUCCESS)
    {
        core.LogEvent("Couldn't automatically find which COM port to use\r\n");
        return 0;
    }
    int nFound = -1;
    for (int i = 1; i <= 19; i++)
    {
        char szKey[64];
        snprintf(szKey, sizeof(szKey), "%s\\%04d", SERVICES_KEY, i);
        CScopedRegKey service;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, szKey, 0, KEY_READ, service.Receive()) !=
            ERROR_SUCCESS)
            continue;
        char szName[257];
        if (!ReadServiceName(service.Get(), szName, sizeof(szName)) ||
            !IsQuorvelServiceName(szName))
            continue;
        DWORD nPort = 0, nSize = sizeof(nPort), nType = 0;
        if (RegQueryValueExA(service.Get(), "ComPortNumber", NULL, &nType,
                             reinterpret_cast<BYTE*>(&nPort), &nSize) != ERROR_SUCCESS ||
            nSize != sizeof(nPort))
            continue;
        nFound = static_cast<int>(nPort);
        core.LogEvent("COM%d might be the port that Quorvel should use\r\n", nFound);
    }
    if (nFound == -1)
    {
        core.LogEvent("Couldn't automatically find which COM port to use\r\n");
        return 0;
    }
    return nFound;
}

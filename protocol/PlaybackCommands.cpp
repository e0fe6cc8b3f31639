// The phone's remote-control buttons and settings, none of which sends a reply,
// and CHCK, the link test.
#include "CommandHandlers.h"
#include "Wire.h"
#include "../core/CommandSet.h"
#include "../core/ServerCore.h"

void HandleCheck(CServerCore& core, const CPhoneLink& link, int)
{
    WriteToPhone(link, "Y", 1);
    core.LogEvent("Sent ACK to phone\r\n");
}

// What the log says when a number's bytes could not be read, with the error code.
static const char* ReadFailureLine(int nId)
{
    switch (nId)
    {
    case CMD_VOLM:
        return "Couldn't read volume: %d\r\n";
    case CMD_SHFL:
        return "Couldn't read shuffle: %d\r\n";
    case CMD_REPT:
        return "Couldn't read repeat: %d\r\n";
    case CMD_SLCT:
        return "Couldn't read playlist index: %d\r\n";
    default:
        return "Couldn't read seek: %d\r\n";
    }
}

// Reads the command's number, if it takes one: its bytes, big-endian.
static bool ReadNumber(CServerCore& core, const CPhoneLink& link, int nId, long* pnValue)
{
    const CommandRow& row = CommandRowOf(nId);
    *pnValue = 0;
    if (row.nParam != PARAM_NUMBER)
        return true;
    unsigned char bytes[4] = {};
    if (!ReadFromPhone(link, bytes, row.nWidth))
    {
        LogLinkFailure(core, link, ReadFailureLine(nId), static_cast<int>(GetLastError()));
        return false;
    }
    switch (row.nWidth)
    {
    case 1:
        *pnValue = bytes[0];
        break;
    case 2:
        *pnValue = static_cast<long>(UnpackBE16(bytes));
        break;
    default:
        *pnValue = static_cast<int>(UnpackBE32(bytes));
        break;
    }
    return true;
}

void HandleControl(CServerCore& core, const CPhoneLink& link, int nId)
{
    long nValue = 0;
    if (ReadNumber(core, link, nId, &nValue))
        core.RunControl(nId, nValue);
}

// Cutting the link's bytes into four-letter commands and routing them.
#include "CommandHandlers.h"
#include <string.h>
#include "Wire.h"
#include "../core/CommandSet.h"
#include "../core/LogText.h"
#include "../core/ServerCore.h"

// Handlers by command id, in the order of the command table.
static const CommandHandler s_handlers[CMD_COUNT] = {
    HandleCheck,          // CHCK
    HandleList,           // LIST
    HandleFolderList,     // DLST
    HandleInfo,           // INFO
    HandleInfo,           // INF2
    HandlePlayOrAdd,      // PLAY
    HandlePlayOrAdd,      // LADD
    HandleFileInfo,       // FINF
    HandleDownload,       // DOWN
    HandleControl,        // VOLM
    HandleControl,        // STOP
    HandleControl,        // FADE
    HandleControl,        // STEN
    HandleControl,        // PAUS
    HandleControl,        // STRT
    HandleControl,        // PREV
    HandleControl,        // NEXT
    HandleControl,        // FFWD
    HandleControl,        // RWND
    HandleControl,        // SHFL
    HandleControl,        // REPT
    HandlePlaylist,       // PLST
    HandleControl,        // SLCT
    HandleControl,        // RMAL
    HandleDetailedInfo,   // DINF
    HandleShutdown,       // SHUT
    HandleControl,        // FULL
    HandleControl,        // SEEK
    HandlePlaylistLength, // PLEN
    HandleVersion,        // VERS
    HandleExit,           // EXIT
};

void LogLinkFailure(CServerCore& core, const CPhoneLink& link, const char* pszFormat, ...)
{
    if (link.IsStopping())
        return;
    va_list args;
    va_start(args, pszFormat);
    core.LogEventV(pszFormat, args);
    va_end(args);
}

// Returns false when no command could be read; the outcome is logged.
static bool ReadCommand(CServerCore& core, const CPhoneLink& link, char* pCommand)
{
    LinkReadResult result = ReadFromPhoneDetailed(link, pCommand, COMMAND_LENGTH);
    if (result == LINK_READ_OK)
        return true;
    if (link.IsStopping())
        return false;
    if (result == LINK_READ_CLOSED)
    {
        core.LogEvent("Client has closed connection\r\n");
        return false;
    }
    // A TCP connection whose receive failed (reset, say) fails again at once:
    // its caller ends it as if the client had closed, rather than read it forever.
    DWORD nError = GetLastError();
    if (nError == WSAETIMEDOUT)
    {
        core.LogEvent("The phone stopped answering; closed its connection\r\n");
        return false;
    }
    core.LogEvent("Couldn't read command: %d\r\n", static_cast<int>(nError));
    return false;
}

bool DispatchCommand(CServerCore& core, const CPhoneLink& link)
{
    char command[COMMAND_LENGTH + 1];
    memset(command, 0, sizeof(command));
    if (!ReadCommand(core, link, command))
        return false;
    RunCommand(core, link, command);
    return true;
}

bool DispatchFirstTcpCommand(CServerCore& core, const CPhoneLink& link, const char* pszPeer)
{
    char command[COMMAND_LENGTH + 1];
    memset(command, 0, sizeof(command));
    if (!ReadCommand(core, link, command))
        return false;
    if (IsHttpRequestStart(command))
    {
        core.LogEvent("Closed the connection from %s: it spoke HTTP, not the phone's protocol\r\n",
                      pszPeer);
        return false;
    }
    RunCommand(core, link, command);
    return true;
}

void RunCommand(CServerCore& core, const CPhoneLink& link, const char* pszCommand)
{
    if (NeedsEnsureRunning(pszCommand))
        core.EnsureActiveRunning();

    int nId = FindCommand(pszCommand);
    if (nId == CMD_UNKNOWN)
    {
        core.LogEvent("Read unknown command \"%s\"\r\n", LogSafeName(pszCommand).c_str());
        return;
    }
    s_handlers[nId](core, link, nId);
}

void HandleExit(CServerCore& core, const CPhoneLink&, int)
{
    core.ExitServer();
}

void HandleShutdown(CServerCore& core, const CPhoneLink&, int)
{
    core.Shutdown();
}

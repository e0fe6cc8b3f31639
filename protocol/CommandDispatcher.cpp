// Cutting the link's bytes into four-letter commands and routing them.
#include "CommandHandlers.h"
#include <string.h>
#include "CommandTable.h"
#include "Wire.h"
#include "../app/ServerDlg.h"

// Handlers by command id, in the order of the command table.
static const CommandHandler s_handlers[CMD_COUNT] = {
    HandleCheck,          // CHCK
    HandleList,           // LIST
    HandleFolderList,     // DLST
    HandleInfo,           // INFO
    HandleInfo2,          // INF2
    HandlePlayFile,       // PLAY
    HandleAddFile,        // LADD
    HandleFileInfo,       // FINF
    HandleDownload,       // DOWN
    HandleVolume,         // VOLM
    HandleStop,           // STOP
    HandleFade,           // FADE
    HandleStopAtEnd,      // STEN
    HandlePause,          // PAUS
    HandlePlay,           // STRT
    HandlePrevious,       // PREV
    HandleNext,           // NEXT
    HandleFastForward,    // FFWD
    HandleRewind,         // RWND
    HandleShuffle,        // SHFL
    HandleRepeat,         // REPT
    HandlePlaylist,       // PLST
    HandleSelect,         // SLCT
    HandleRemoveAll,      // RMAL
    HandleDetailedInfo,   // DINF
    HandleShutdown,       // SHUT
    HandleFullScreen,     // FULL
    HandleSeek,           // SEEK
    HandlePlaylistLength, // PLEN
    HandleVersion,        // VERS
    HandleExit,           // EXIT
};

void LogLinkFailure(CServerDlg& dlg, const CPhoneLink& link, const char* pszFormat, ...)
{
    if (link.IsStopping())
        return;
    va_list args;
    va_start(args, pszFormat);
    dlg.LogEventV(pszFormat, args);
    va_end(args);
}

// Returns false when no command could be read; the outcome is logged.
static bool ReadCommand(CServerDlg& dlg, const CPhoneLink& link, char* pCommand)
{
    LinkReadResult result = ReadFromPhoneDetailed(link, pCommand, COMMAND_LENGTH);
    if (result == LINK_READ_OK)
        return true;
    if (link.IsStopping())
        return false;
    if (result == LINK_READ_CLOSED)
    {
        dlg.LogEvent("Client has closed connection\r\n");
        dlg.m_bClientClosed = 1;
        return false;
    }
    dlg.LogEvent("Couldn't read command: %d\r\n", static_cast<int>(GetLastError()));
    // A TCP connection whose receive failed (reset, say) fails again at once:
    // end it as if the client had closed, rather than read it forever.
    if (link.IsTcp())
        dlg.m_bClientClosed = 1;
    return false;
}

bool DispatchCommand(CServerDlg& dlg, const CPhoneLink& link)
{
    char command[COMMAND_LENGTH + 1];
    memset(command, 0, sizeof(command));
    if (!ReadCommand(dlg, link, command))
        return false;
    RunCommand(dlg, link, command);
    return true;
}

void RunCommand(CServerDlg& dlg, const CPhoneLink& link, const char* pszCommand)
{
    if (NeedsEnsureRunning(pszCommand))
        dlg.EnsureActiveRunning();

    int nId = FindCommand(pszCommand);
    if (nId == CMD_UNKNOWN)
    {
        dlg.LogEvent("Read unknown command \"%s\"\r\n", pszCommand);
        return;
    }
    s_handlers[nId](dlg, link);
}

void HandleExit(CServerDlg& dlg, const CPhoneLink&)
{
    dlg.EndProcessNow();
}

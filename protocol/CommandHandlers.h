// The phone's side of every command: each handler reads the command's
// parameters from the link, calls the core's operation and writes the reply on
// the same link.
#pragma once
#include "PhoneLink.h"

class CServerCore;

// Reads one command from the link and runs it; false when no command could be
// read (logged, unless the link is being stopped).
bool DispatchCommand(CServerCore& core, const CPhoneLink& link);
// The first command of a TCP client from pszPeer: as DispatchCommand, but the
// start of an HTTP request is run not at all (false, and logged once): a web
// page in a browser on this PC or nearby must never drive the player.
bool DispatchFirstTcpCommand(CServerCore& core, const CPhoneLink& link, const char* pszPeer);
// Runs a command already read from the link: its 4 bytes and a terminating zero.
void RunCommand(CServerCore& core, const CPhoneLink& link, const char* pszCommand);

// Logs a failure of the link unless the worker is being stopped, in which case
// the command was cut off on purpose and nothing is said.
void LogLinkFailure(CServerCore& core, const CPhoneLink& link, const char* pszFormat, ...);

typedef void (*CommandHandler)(CServerCore& core, const CPhoneLink& link, int nId);

// The buttons and settings: no parameter, or a number (PlaybackCommands.cpp).
void HandleControl(CServerCore& core, const CPhoneLink& link, int nId);
void HandleCheck(CServerCore& core, const CPhoneLink& link, int nId);
// The status replies (StatusCommands.cpp).
void HandleInfo(CServerCore& core, const CPhoneLink& link, int nId);
void HandleDetailedInfo(CServerCore& core, const CPhoneLink& link, int nId);
void HandlePlaylistLength(CServerCore& core, const CPhoneLink& link, int nId);
void HandleVersion(CServerCore& core, const CPhoneLink& link, int nId);
void HandlePlaylist(CServerCore& core, const CPhoneLink& link, int nId);
// Browsing and files (BrowseCommands.cpp, FileCommands.cpp).
void HandleList(CServerCore& core, const CPhoneLink& link, int nId);
void HandleFolderList(CServerCore& core, const CPhoneLink& link, int nId);
void HandlePlayOrAdd(CServerCore& core, const CPhoneLink& link, int nId);
void HandleFileInfo(CServerCore& core, const CPhoneLink& link, int nId);
void HandleDownload(CServerCore& core, const CPhoneLink& link, int nId);
// SHUT and EXIT.
void HandleShutdown(CServerCore& core, const CPhoneLink& link, int nId);
void HandleExit(CServerCore& core, const CPhoneLink& link, int nId);

// The handlers of the phone's commands. Each reads its parameters from the link
// the command came from, calls the active controller and answers on the same link.
#pragma once
#include "PhoneLink.h"

class CServerDlg;

typedef void (*CommandHandler)(CServerDlg& dlg, const CPhoneLink& link);

// Reads one command from the link and runs it; false when no command could be read.
bool DispatchCommand(CServerDlg& dlg, const CPhoneLink& link);
// Runs a command already read from the link: its 4 bytes and a terminating zero.
void RunCommand(CServerDlg& dlg, const CPhoneLink& link, const char* pszCommand);

// Logs a failure of the link unless the worker is being stopped, in which case
// the command was cut off on purpose and nothing is said.
void LogLinkFailure(CServerDlg& dlg, const CPhoneLink& link, const char* pszFormat, ...);

// Stops the active controller with the mode (0 stop, 1 fade, 2 at the end) and logs it.
void RunStop(CServerDlg& dlg, int nMode);

void HandleCheck(CServerDlg& dlg, const CPhoneLink& link);
void HandleStop(CServerDlg& dlg, const CPhoneLink& link);
void HandleFade(CServerDlg& dlg, const CPhoneLink& link);
void HandleStopAtEnd(CServerDlg& dlg, const CPhoneLink& link);
void HandlePlay(CServerDlg& dlg, const CPhoneLink& link);
void HandlePause(CServerDlg& dlg, const CPhoneLink& link);
void HandleNext(CServerDlg& dlg, const CPhoneLink& link);
void HandlePrevious(CServerDlg& dlg, const CPhoneLink& link);
void HandleFastForward(CServerDlg& dlg, const CPhoneLink& link);
void HandleRewind(CServerDlg& dlg, const CPhoneLink& link);
void HandleFullScreen(CServerDlg& dlg, const CPhoneLink& link);
void HandleRemoveAll(CServerDlg& dlg, const CPhoneLink& link);
void HandleVolume(CServerDlg& dlg, const CPhoneLink& link);
void HandleShuffle(CServerDlg& dlg, const CPhoneLink& link);
void HandleRepeat(CServerDlg& dlg, const CPhoneLink& link);
void HandleSelect(CServerDlg& dlg, const CPhoneLink& link);
void HandleSeek(CServerDlg& dlg, const CPhoneLink& link);

void HandleInfo(CServerDlg& dlg, const CPhoneLink& link);
void HandleInfo2(CServerDlg& dlg, const CPhoneLink& link);
void HandleDetailedInfo(CServerDlg& dlg, const CPhoneLink& link);
void HandlePlaylistLength(CServerDlg& dlg, const CPhoneLink& link);
void HandleVersion(CServerDlg& dlg, const CPhoneLink& link);
void HandlePlaylist(CServerDlg& dlg, const CPhoneLink& link);

void HandleList(CServerDlg& dlg, const CPhoneLink& link);
void HandleFolderList(CServerDlg& dlg, const CPhoneLink& link);
void HandlePlayFile(CServerDlg& dlg, const CPhoneLink& link);
void HandleAddFile(CServerDlg& dlg, const CPhoneLink& link);
void HandleFileInfo(CServerDlg& dlg, const CPhoneLink& link);
void HandleDownload(CServerDlg& dlg, const CPhoneLink& link);

void HandleShutdown(CServerDlg& dlg, const CPhoneLink& link);
void HandleExit(CServerDlg& dlg, const CPhoneLink& link);

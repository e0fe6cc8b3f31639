// The handlers of the phone's commands. Each reads its parameters from the link
// the command came from, calls the active controller and answers on the same link.
#pragma once
#include "PhoneLink.h"

class CServerDlg;

typedef void (*CommandHandler)(CServerDlg& dlg, const CPhoneLink& link);

// Reads one command from the link and runs it.
void DispatchCommand(CServerDlg& dlg, const CPhoneLink& link);

// Logs a failure of the link unless the worker is being stopped, in which case
// the command was cut off on purpose and nothing is said.
void LogLinkFailure(CServerDlg& dlg, const CPhoneLink& link, const char* pszFormat, ...);

void HandleCheck(CServerDlg& dlg, const CPhoneLink& link);
void HandleVersion(CServerDlg& dlg, const CPhoneLink& link);
void HandleExit(CServerDlg& dlg, const CPhoneLink& link);

// What a slide show's operations share: their numbers, reporting a failed one
// to the user, and the remembered presentation.
#pragma once
#include <windows.h>
#include <stddef.h>
#include "Automation.h"
#include "ControllerLog.h"

// What the phone asks of a slide show; each runs on the controller's automation thread.
enum SlideShowOperation
{
    OP_PLAY_FILE,
    OP_PLAY,
    OP_STOP,
    OP_NEXT,
    OP_PREVIOUS,
    OP_RELEASE
};

// How long the end of the server waits for an application to take back its references.
const DWORD RELEASE_WAIT_MS = 5000;

// On the thread that asked for the operation: a message box when the application
// could not be created (it waits for the user), or one log line naming the
// operation and the failed call, and saying so when the application has gone.
void ReportOutcome(const AutomationOutcome& outcome, const char* pszApp, const char* pszLoadError,
                   int nOperation, CControllerLog& log);

// One log line for an operation dropped because the link that asked for it was closed.
void ReportDropped(const char* pszApp, int nOperation, CControllerLog& log);

// The presentation remembered for a restart: a path of at most 259 characters.
const int PRESENTATION_PATH_SIZE = 260;

// Remembers a presentation's path for a later restart; a path that does not fit
// is not remembered at all, since a shortened one could name another file.
void RememberPresentation(char* pszRemembered, size_t nSize, const char* pszPath);

// SystemParametersInfoA for the power-saving timeouts: neither saved nor broadcast.
bool CallSystemParameter(unsigned nAction, unsigned nValue, int* pnValue);

// Finding a media application's window and starting the application by its
// path, for the controllers that drive an application from outside.
#pragma once
#include <windows.h>
#include "CommandLines.h"

class CControllerLog;
class CPathNotice;

// Starts the application with no command line and waits up to 15 s for it to
// be ready for input; false when no path is given or the start fails.
bool StartAndWaitUntilReady(const char* pszExePath);

// The same, then returns its window of the class; NULL when the start fails or
// no such window appears.
HWND StartAndFindWindow(const char* pszExePath, const char* pszWindowClass);

// The application's window of the class; when there is none and bStart is set,
// the application is started first, unless its path was refused (AcceptStart).
HWND FindOrStartWindow(CControllerLog& log, const char* pszAppName, const char* pszWindowClass,
                       const char* pszExePath, bool bExePathTooLong, CPathNotice& exePathNotice,
                       int bStart);

// Starts the application with a command line and does not wait for it; false
// when no path is given or the process was not created.
bool StartWithCommandLine(const char* pszExePath, const char* pszCommandLine);

// Whether a start may go ahead; a refused one gets one line in the event log,
// except that a refused application path is said only once while it stays in use.
bool AcceptStart(CControllerLog& log, const char* pszAppName, bool bAppPathTooLong,
                 CPathNotice& appPathNotice, CommandLineResult commandLine);

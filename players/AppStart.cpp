#include "AppStart.h"
#include <stdio.h>
#include "EventLog.h"
#include "../framework/ScopedHandle.h"
#include "../framework/WorkerThread.h"

static const DWORD START_WAIT_MS = 15000;

// CreateProcessA with only the application path, the command line and the size
// of the start-up record set; the caller gets the process handle.
static bool CreateApplicationProcess(const char* pszExePath, const char* pszCommandLine,
                                     CScopedHandle& process)
{
    if (pszExePath[0] == '\0')
        return false;
    // CreateProcess may write to the command line, so it gets a copy.
    char szCommandLine[COMMAND_LINE_SIZE] = "";
    if (pszCommandLine)
        snprintf(szCommandLine, sizeof(szCommandLine), "%s", pszCommandLine);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(pszExePath, pszCommandLine ? szCommandLine : NULL, NULL, NULL, FALSE, 0,
                        NULL, NULL, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process.Reset(info.hProcess);
    return true;
}

HWND StartAndFindWindow(const char* pszExePath, const char* pszWindowClass)
{
    CScopedHandle process;
    if (!CreateApplicationProcess(pszExePath, NULL, process))
        return NULL;
    CWorkerThread::WaitForInputIdleUnlessStopped(process.Get(), START_WAIT_MS);
    return FindWindowA(pszWindowClass, NULL);
}

bool StartWithCommandLine(const char* pszExePath, const char* pszCommandLine)
{
    CScopedHandle process;
    return CreateApplicationProcess(pszExePath, pszCommandLine, process);
}

bool AcceptStart(CEventLog& log, const char* pszAppName, bool bAppPathTooLong,
                 CommandLineResult commandLine)
{
    if (bAppPathTooLong)
    {
        log.LogEvent("Couldn't start %s: its application path is longer than %d characters\r\n",
                     pszAppName, static_cast<int>(APP_PATH_SIZE - 1));
        return false;
    }
    switch (commandLine)
    {
    case COMMAND_LINE_OK:
        return true;
    case COMMAND_LINE_TOO_LONG:
        log.LogEvent("Couldn't start %s: the file path is too long for its command line\r\n",
                     pszAppName);
        return false;
    case COMMAND_LINE_QUOTE_IN_PATH:
        log.LogEvent("Couldn't start %s: the file path holds a double quote\r\n", pszAppName);
        return false;
    }
    return false;
}

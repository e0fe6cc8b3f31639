#include "AppStart.h"
#include <stdio.h>
#include "ControllerLog.h"
#include "PathNotice.h"
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

bool StartAndWaitUntilReady(const char* pszExePath)
{
    CScopedHandle process;
    if (!CreateApplicationProcess(pszExePath, NULL, process))
        return false;
    CWorkerThread::WaitForInputIdleUnlessStopped(process.Get(), START_WAIT_MS);
    return true;
}

HWND StartAndFindWindow(const char* pszExePath, const char* pszWindowClass)
{
    if (!StartAndWaitUntilReady(pszExePath))
        return NULL;
    return FindWindowA(pszWindowClass, NULL);
}

HWND FindOrStartWindow(CControllerLog& log, const char* pszAppName, const char* pszWindowClass,
                       const char* pszExePath, bool bExePathTooLong, CPathNotice& exePathNotice,
                       int bStart)
{
    HWND hWnd = FindWindowA(pszWindowClass, NULL);
    if (hWnd || !bStart ||
        !AcceptStart(log, pszAppName, bExePathTooLong, exePathNotice, COMMAND_LINE_OK))
        return hWnd;
    return StartAndFindWindow(pszExePath, pszWindowClass);
}

bool StartWithCommandLine(const char* pszExePath, const char* pszCommandLine)
{
    CScopedHandle process;
    return CreateApplicationProcess(pszExePath, pszCommandLine, process);
}

bool AcceptStart(CControllerLog& log, const char* pszAppName, bool bAppPathTooLong,
                 CPathNotice& appPathNotice, CommandLineResult commandLine)
{
    const char* pszReason = NULL;
    if (bAppPathTooLong && !appPathNotice.ShouldSay())
        return false;
    if (bAppPathTooLong)
        pszReason = "its application path is longer than 255 characters";
    else if (commandLine == COMMAND_LINE_TOO_LONG)
        pszReason = "the file path is too long for its command line";
    else if (commandLine == COMMAND_LINE_QUOTE_IN_PATH)
        pszReason = "the file path holds a double quote";
    if (!pszReason)
        return true;
    char szLine[128];
    snprintf(szLine, sizeof(szLine), "Couldn't start %s: %s\r\n", pszAppName, pszReason);
    log.LogControllerLine(szLine);
    return false;
}

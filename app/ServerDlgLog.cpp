// The event log and the live control reads. Worker threads reach the window only
// through synchronous messages, which the user-interface thread carries out in turn.
#include "ServerDlg.h"
#include "LogLine.h"
#include "../res/resource.h"

void CServerDlg::LogEvent(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    LogEventV(pszFormat, args);
    va_end(args);
}

void CServerDlg::LogEventV(const char* pszFormat, va_list args)
{
    char szLine[LOG_LINE_SIZE];
    FormatLogMessage(szLine, sizeof(szLine), pszFormat, args);
    if (m_hWnd)
        SendMessageA(m_hWnd, WM_APP_LOG_EVENT, 0, reinterpret_cast<LPARAM>(szLine));
}

void CServerDlg::LogControllerLine(const char* pszLine)
{
    LogEvent("%s", pszLine);
}

// Runs on the user-interface thread, so lines from the two links never interleave.
void CServerDlg::AppendToEventLog(const char* pszText)
{
    HWND hLog = GetDlgItem(IDC_EVENT_LOG);
    int nLength = GetWindowTextLengthA(hLog);
    SendMessageA(hLog, EM_SETSEL, nLength, nLength);
    SendMessageA(hLog, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(pszText));
}

bool CServerDlg::IsStartAppsTicked()
{
    return IsDlgButtonChecked(m_hWnd, IDC_START_APPS) == BST_CHECKED;
}

bool CServerDlg::IsStopWhenSwitchingTicked()
{
    return IsDlgButtonChecked(m_hWnd, IDC_STOP_WHEN_SWITCHING) == BST_CHECKED;
}

void CServerDlg::ReadBrowseFolders(char* pBuffer, int nSize)
{
    if (!GetDlgItemTextA(m_hWnd, IDC_BROWSE_PATH, pBuffer, nSize))
        pBuffer[0] = '\0';
}

void CServerDlg::EnsureActiveRunning()
{
    int bStart = IsStartAppsTicked() ? 1 : 0;
    GetActive()->EnsureRunning(m_szAppPath[m_nFileApp.load()], bStart);
}

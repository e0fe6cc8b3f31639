// Every message to a player's window goes through here, so that no command
// waits on another program for longer than PLAYER_ANSWER_MS.
#include "PlayerWindow.h"
#include "ControllerLog.h"

static const DWORD PROBE_INTERVAL_MS = 500;
static const DWORD PROBE_ANSWER_MS = 200;

CPlayerWindow::CPlayerWindow(CControllerLog& log, const char* pszAppName)
    : m_log(log), m_pszAppName(pszAppName), m_hPlayerWnd(NULL), m_bHung(false), m_nLastProbeMs(0)
{
}

bool CPlayerWindow::Send(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return SendTo(m_hPlayerWnd, nMsg, wParam, lParam, pResult);
}

bool CPlayerWindow::SendTo(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (pResult)
        *pResult = 0;
    if (!hWnd)
        return false;
    // A command is not queued behind a hung player's backlog: it would run
    // whenever the player woke, long after the phone was told otherwise.
    if (m_bHung && !AnswersAgain(hWnd))
        return false;
    if (SendWithDeadline(hWnd, nMsg, wParam, lParam, PLAYER_ANSWER_MS, pResult))
        return true;
    // A window that went away is a player that was closed, not a hang.
    if (IsWindow(hWnd) && !m_bHung.exchange(true))
    {
        m_nLastProbeMs = GetTickCount();
        m_log.LogFormat("%s is not answering; going on as if it were not running\r\n",
                        m_pszAppName);
    }
    return false;
}

bool CPlayerWindow::AnswersAgain(HWND hWnd)
{
    DWORD nNow = GetTickCount();
    DWORD nLast = m_nLastProbeMs;
    if (nNow - nLast < PROBE_INTERVAL_MS || !m_nLastProbeMs.compare_exchange_strong(nLast, nNow))
        return false;
    if (!SendWithDeadline(hWnd, WM_NULL, 0, 0, PROBE_ANSWER_MS, NULL))
        return false;
    if (m_bHung.exchange(false))
        m_log.LogFormat("%s is answering again\r\n", m_pszAppName);
    return true;
}

bool CPlayerWindow::SendWithDeadline(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, DWORD nMs,
                                     LRESULT* pResult)
{
    DWORD_PTR nResult = 0;
    // SMTO_BLOCK: nothing else is run on a link's worker while it waits.
    LRESULT nSent = SendMessageTimeoutA(hWnd, nMsg, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                                        nMs, &nResult);
    if (nSent == 0)
        return false;
    if (pResult)
        *pResult = static_cast<LRESULT>(nResult);
    return true;
}

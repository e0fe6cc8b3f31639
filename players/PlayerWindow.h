// Messages to a media application's window, each with a deadline: a player that
// stops answering holds a command up once, for at most PLAYER_ANSWER_MS, and is
// then treated as not running (logged once) until it answers again.
#pragma once
#include <windows.h>
#include <atomic>

class CControllerLog;

const DWORD PLAYER_ANSWER_MS = 2000;

class CPlayerWindow
{
public:
    // pszAppName: the player as the log names it.
    CPlayerWindow(CControllerLog& log, const char* pszAppName);

    void Attach(HWND hWnd) { m_hPlayerWnd = hWnd; }
    HWND Handle() const { return m_hPlayerWnd; }
    // False while the player is known not to answer.
    bool IsAnswering() const { return !m_bHung.load(); }

    // Sends to the player's window and waits for the answer; false (with *pResult
    // 0) when there is no window or it does not answer in time.
    bool Send(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult = NULL);
    // The same to another window of the same player, which hangs with it.
    bool SendTo(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult = NULL);

private:
    CPlayerWindow(const CPlayerWindow&);
    CPlayerWindow& operator=(const CPlayerWindow&);
    // While hung: whether the player answers again. A harmless message is asked,
    // at most once per PROBE_INTERVAL_MS, so commands meanwhile cost nothing.
    bool AnswersAgain(HWND hWnd);
    bool SendWithDeadline(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, DWORD nMs,
                          LRESULT* pResult);

    CControllerLog& m_log;
    const char* m_pszAppName;
    std::atomic<HWND> m_hPlayerWnd;
    // Commands come from both links, the page and the window's timer at once.
    std::atomic<bool> m_bHung;
    std::atomic<DWORD> m_nLastProbeMs;
};

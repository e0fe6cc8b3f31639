// The event log. Worker threads queue their log lines and never wait for them to
// be drawn; the user-interface thread appends each batch in one edit.
#include "ServerDlg.h"
#include "../res/resource.h"

void CServerDlg::LogText(const char* pszText)
{
    HWND hWnd = m_hWnd;
    if (!hWnd)
        return;
    bool bFirstOfBatch = m_logQueue.Push(pszText);
    // The window's own code finds its lines in the log as soon as it has logged them.
    if (GetWindowThreadProcessId(hWnd, NULL) == GetCurrentThreadId())
        FlushEventLog();
    else if (bFirstOfBatch)
        PostMessageA(hWnd, WM_APP_LOG_EVENT, 0, 0);
}

// A batch has begun: append it now, or once the last batch is old enough, so that
// a stream of lines costs one edit every LOG_BATCH_DELAY_MS at most.
void CServerDlg::OnLogQueued()
{
    unsigned nDelay = m_logQueue.DelayBeforeTaking(GetTickCount());
    if (nDelay == 0)
        FlushEventLog();
    else
        SetTimer(m_hWnd, LOG_FLUSH_TIMER_ID, nDelay, NULL);
}

// Cuts at least nMinCut characters from the start of the log, at a line start.
static void CutOldestLines(HWND hLog, int nShown, int nMinCut)
{
    int nLine = static_cast<int>(SendMessageA(hLog, EM_LINEFROMCHAR, nMinCut, 0));
    int nCut = static_cast<int>(SendMessageA(hLog, EM_LINEINDEX, nLine, 0));
    if (nCut != nMinCut)
        nCut = static_cast<int>(SendMessageA(hLog, EM_LINEINDEX, nLine + 1, 0));
    if (nCut < 0 || nCut > nShown)
        nCut = nShown;
    SendMessageA(hLog, EM_SETSEL, 0, nCut);
    SendMessageA(hLog, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
}

void CServerDlg::FlushEventLog()
{
    KillTimer(m_hWnd, LOG_FLUSH_TIMER_ID);
    std::string batch;
    bool bDropped = m_logQueue.TakeAll(batch, GetTickCount());
    if (batch.empty() && !bDropped)
        return;
    HWND hLog = GetDlgItem(IDC_EVENT_LOG);
    int nShown = GetWindowTextLengthA(hLog);
    size_t nCut = bDropped ? nShown : LogCharsToCut(nShown, batch.size());
    size_t nSkip = 0;
    if (nCut >= static_cast<size_t>(nShown))
    {
        nSkip = FindLogCut(batch.data(), batch.size(), nCut - nShown);
        SetWindowTextA(hLog, "");
    }
    else if (nCut > 0)
    {
        CutOldestLines(hLog, nShown, static_cast<int>(nCut));
    }
    int nEnd = GetWindowTextLengthA(hLog);
    SendMessageA(hLog, EM_SETSEL, nEnd, nEnd);
    SendMessageA(hLog, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(batch.c_str() + nSkip));
}

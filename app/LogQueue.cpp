#include "LogQueue.h"

size_t FindLogCut(const char* pText, size_t nLength, size_t nMinCut)
{
    if (nMinCut == 0)
        return 0;
    if (nMinCut >= nLength)
        return nLength;
    // A line end that finishes exactly at nMinCut counts.
    for (size_t i = nMinCut >= 2 ? nMinCut - 2 : 0; i + 1 < nLength; i++)
    {
        if (pText[i] == '\r' && pText[i + 1] == '\n')
            return i + 2;
    }
    return nMinCut;
}

size_t LogCharsToCut(size_t nShown, size_t nAdded)
{
    size_t nTotal = nShown + nAdded;
    return nTotal > LOG_TEXT_CAP ? nTotal - LOG_TEXT_KEEP : 0;
}

CLogQueue::CLogQueue() : m_bDropped(false), m_bTaken(false), m_nTakenMs(0) {}

bool CLogQueue::Push(const char* pszText)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    bool bFirst = m_pending.empty();
    m_pending += pszText;
    size_t nCut = LogCharsToCut(0, m_pending.size());
    if (nCut > 0)
    {
        m_pending.erase(0, FindLogCut(m_pending.data(), m_pending.size(), nCut));
        m_bDropped = true;
    }
    return bFirst && !m_pending.empty();
}

unsigned CLogQueue::DelayBeforeTaking(unsigned nNowMs) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_bTaken)
        return 0;
    unsigned nElapsed = nNowMs - m_nTakenMs; // a tick count wraps; the difference does not
    return nElapsed >= LOG_BATCH_DELAY_MS ? 0 : LOG_BATCH_DELAY_MS - nElapsed;
}

bool CLogQueue::TakeAll(std::string& batch, unsigned nNowMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    batch.clear();
    batch.swap(m_pending);
    bool bDropped = m_bDropped;
    m_bDropped = false;
    m_bTaken = true;
    m_nTakenMs = nNowMs;
    return bDropped;
}

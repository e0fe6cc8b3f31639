#include "SessionRetry.h"

bool CSessionRetry::IsDue(unsigned nNowMs) const
{
    // Unsigned: the difference stays right when the tick count wraps.
    return !m_bFailed || nNowMs - m_nFailedAtMs >= RETRY_AFTER_MS;
}

bool CSessionRetry::Failed(unsigned nNowMs)
{
    m_bFailed = true;
    m_nFailedAtMs = nNowMs;
    bool bFirst = !m_bFailureSaid;
    m_bFailureSaid = true;
    return bFirst;
}

bool CSessionRetry::Succeeded()
{
    bool bBack = m_bFailed;
    m_bFailed = false;
    return bBack;
}

// When the system's media sessions are asked for again. A request for them that
// failed or was too slow is tried again at the next command, at most once every
// RETRY_AFTER_MS: the system may only have been busy starting. Plain C++; the
// times are tick counts in milliseconds, passed in.
#pragma once

class CSessionRetry
{
public:
    static const unsigned RETRY_AFTER_MS = 30000;

    CSessionRetry() : m_bFailed(false), m_bFailureSaid(false), m_nFailedAtMs(0) {}

    // Whether to ask at nNowMs: until a request fails, and then once
    // RETRY_AFTER_MS have passed since the last failure.
    bool IsDue(unsigned nNowMs) const;
    // A request failed at nNowMs. True for the first failure of the run only:
    // the log tells it once.
    bool Failed(unsigned nNowMs);
    // A request succeeded. True when one had failed before: the log says that
    // the sessions are available now.
    bool Succeeded();

private:
    bool m_bFailed;
    bool m_bFailureSaid;
    unsigned m_nFailedAtMs;
};

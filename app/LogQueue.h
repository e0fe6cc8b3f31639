// The event log's messages on their way from the threads that write them to the
// window that shows them, and the cap on the log's length. Plain C++, no platform calls.
#pragma once
#include <stddef.h>
#include <mutex>
#include <string>

// The log shows at most LOG_TEXT_CAP characters; when more come, the oldest whole
// lines go until LOG_TEXT_KEEP are left, so that trimming is rare.
const size_t LOG_TEXT_CAP = 2 * 1024 * 1024;
const size_t LOG_TEXT_KEEP = LOG_TEXT_CAP / 4 * 3;
// Messages are appended in batches, each at most this long after its first message.
const unsigned LOG_BATCH_DELAY_MS = 50;

// Where to cut the start of a text so that at least nMinCut characters go: just
// after the first "\r\n" that ends at or beyond nMinCut, or nLength when no line
// ends there. A text that never ends its line is cut at nMinCut.
size_t FindLogCut(const char* pText, size_t nLength, size_t nMinCut);

// How many characters must go from the start of a log of nShown characters
// before nAdded more are appended; 0 while the cap is not reached.
size_t LogCharsToCut(size_t nShown, size_t nAdded);

// Messages queued in the order they were logged, from any thread; the window takes
// them as one batch. Bounded: while the window does not take them, the oldest
// whole lines beyond the cap are dropped, as the log would drop them.
class CLogQueue
{
public:
    CLogQueue();

    // Queues one message; true when it is the first of a batch, so that the window
    // must be told.
    bool Push(const char* pszText);
    // How long the window should wait, at time nNowMs, before taking the batch:
    // 0 when the last batch was taken LOG_BATCH_DELAY_MS ago or longer.
    unsigned DelayBeforeTaking(unsigned nNowMs) const;
    // Takes every queued message, in order, at time nNowMs. True when messages were
    // dropped meanwhile: then everything the window shows is older and must go too.
    bool TakeAll(std::string& batch, unsigned nNowMs);

private:
    CLogQueue(const CLogQueue&);
    CLogQueue& operator=(const CLogQueue&);

    mutable std::mutex m_mutex;
    std::string m_pending;
    bool m_bDropped;
    bool m_bTaken;
    unsigned m_nTakenMs;
};

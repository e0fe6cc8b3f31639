// The single-use tickets a page fetches a file with: the channel names the file,
// and the plain GET that follows carries only the ticket. Plain C++; safe from
// any thread.
#pragma once
#include <deque>
#include <mutex>
#include <string>

// A ticket serves one GET within this long of being given.
const unsigned long long DOWNLOAD_TICKET_MS = 60000;
// Tickets kept at once; the oldest gives way (a page asks for one per click).
const size_t MAX_DOWNLOAD_TICKETS = 64;

class CDownloadTickets
{
public:
    // Keeps ticket (drawn by the caller, at random) for the file at path.
    void Add(const std::string& ticket, const std::string& path, unsigned long long nNowMs);
    // The ticket's file, and the ticket is gone; false when it is unknown, used
    // or expired.
    bool Take(const std::string& ticket, unsigned long long nNowMs, std::string* pPath);

private:
    struct Ticket
    {
        std::string ticket;
        std::string path;
        unsigned long long nGivenMs;
    };
    std::mutex m_lock;
    std::deque<Ticket> m_tickets; // oldest first
};

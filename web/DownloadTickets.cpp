#include "DownloadTickets.h"

void CDownloadTickets::Add(const std::string& ticket, const std::string& path,
                           unsigned long long nNowMs)
{
    std::lock_guard<std::mutex> lock(m_lock);
    while (!m_tickets.empty() && (m_tickets.size() >= MAX_DOWNLOAD_TICKETS ||
                                  nNowMs - m_tickets.front().nGivenMs > DOWNLOAD_TICKET_MS))
        m_tickets.pop_front();
    Ticket entry = {ticket, path, nNowMs};
    m_tickets.push_back(entry);
}

bool CDownloadTickets::Take(const std::string& ticket, unsigned long long nNowMs,
                            std::string* pPath)
{
    std::lock_guard<std::mutex> lock(m_lock);
    for (std::deque<Ticket>::iterator it = m_tickets.begin(); it != m_tickets.end(); ++it)
    {
        if (it->ticket != ticket)
            continue;
        bool bFresh = nNowMs - it->nGivenMs <= DOWNLOAD_TICKET_MS;
        *pPath = it->path;
        m_tickets.erase(it);
        return bFresh;
    }
    return false;
}

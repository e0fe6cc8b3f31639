#include "LiveChannels.h"

void CLiveChannels::Add(CLiveChannel* pChannel)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_channels.push_back(pChannel);
}

void CLiveChannels::Remove(CLiveChannel* pChannel)
{
    std::lock_guard<std::mutex> lock(m_lock);
    for (size_t i = 0; i < m_channels.size(); i++)
    {
        if (m_channels[i] != pChannel)
            continue;
        m_channels.erase(m_channels.begin() + i);
        return;
    }
}

void CLiveChannels::TellLocked(CLiveChannel* pChannel, ChannelEnd nEnd)
{
    // Removal outranks replacement: the page is to show why it must pair.
    if (pChannel->m_nEnd != CHANNEL_REMOVED)
        pChannel->m_nEnd = nEnd;
    SetEvent(pChannel->m_hWake);
}

void CLiveChannels::ReplaceOlder(CLiveChannel* pChannel)
{
    std::lock_guard<std::mutex> lock(m_lock);
    for (size_t i = 0; i < m_channels.size(); i++)
    {
        if (m_channels[i] != pChannel && m_channels[i]->m_browserId == pChannel->m_browserId)
            TellLocked(m_channels[i], CHANNEL_REPLACED);
    }
}

int CLiveChannels::EndBrowser(const std::string& browserId)
{
    std::lock_guard<std::mutex> lock(m_lock);
    int nTold = 0;
    for (size_t i = 0; i < m_channels.size(); i++)
    {
        if (m_channels[i]->m_browserId != browserId)
            continue;
        TellLocked(m_channels[i], CHANNEL_REMOVED);
        nTold++;
    }
    return nTold;
}

ChannelEnd CLiveChannels::EndOf(CLiveChannel* pChannel)
{
    std::lock_guard<std::mutex> lock(m_lock);
    return pChannel->m_nEnd;
}

#include "PhoneApprovals.h"
#include <algorithm>

static bool IsLoopback(uint32_t nAddress)
{
    return (nAddress >> 24) == 127;
}

PhoneVerdict CPhoneApprovals::Judge(uint32_t nAddress)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (IsLoopback(nAddress) ||
        std::find(m_allowed.begin(), m_allowed.end(), nAddress) != m_allowed.end())
        return PHONE_SERVE;
    if (m_denied.count(nAddress))
        return PHONE_REFUSE_DENIED;
    if (m_bAsking)
        return PHONE_REFUSE_WAITING;
    m_bAsking = true;
    m_nAsked = nAddress;
    return PHONE_ASK;
}

bool CPhoneApprovals::Answer(bool bAllow, uint32_t* pnAddress)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_bAsking)
        return false;
    m_bAsking = false;
    *pnAddress = m_nAsked;
    if (bAllow)
        Allow(m_nAsked);
    else
        m_denied.insert(m_nAsked);
    return true;
}

void CPhoneApprovals::Allow(uint32_t nAddress)
{
    if (std::find(m_allowed.begin(), m_allowed.end(), nAddress) != m_allowed.end())
        return;
    if (m_allowed.size() >= MAX_ALLOWED_PHONES)
        m_allowed.erase(m_allowed.begin());
    m_allowed.push_back(nAddress);
}

bool CPhoneApprovals::IsAsking(uint32_t* pnAddress) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bAsking && pnAddress)
        *pnAddress = m_nAsked;
    return m_bAsking;
}

void CPhoneApprovals::DropQuestion()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bAsking = false;
}

bool CPhoneApprovals::IsAllowed(uint32_t nAddress) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::find(m_allowed.begin(), m_allowed.end(), nAddress) != m_allowed.end();
}

void CPhoneApprovals::ForgetAllowed()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_allowed.clear();
}

std::string CPhoneApprovals::AllowedText() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string text;
    for (uint32_t nAddress : m_allowed)
        text += (text.empty() ? "" : ";") + FormatIPv4(nAddress);
    return text;
}

void CPhoneApprovals::LoadAllowed(const std::string& text)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_allowed.clear();
    size_t nStart = 0;
    while (nStart <= text.size())
    {
        size_t nEnd = text.find(';', nStart);
        if (nEnd == std::string::npos)
            nEnd = text.size();
        uint32_t nAddress = 0;
        if (ParseIPv4(text.substr(nStart, nEnd - nStart), &nAddress))
            Allow(nAddress);
        nStart = nEnd + 1;
    }
}

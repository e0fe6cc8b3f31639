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
    if (m_nHolding != HOLDING_NONE)
        return PHONE_REFUSE_WAITING;
    m_nHolding = HOLDING_ASKED;
    m_question.nNumber++;
    m_question.nAddress = nAddress;
    return PHONE_ASK;
}

bool CPhoneApprovals::Answer(bool bAllow, const CPhoneQuestion& question)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_nHolding != HOLDING_ASKED || question.nNumber != m_question.nNumber ||
        question.nAddress != m_question.nAddress)
        return false;
    m_nHolding = HOLDING_ANSWERED;
    m_bHeldAllowed = bAllow;
    if (bAllow)
        Allow(m_question.nAddress);
    else
        m_denied.insert(m_question.nAddress);
    return true;
}

bool CPhoneApprovals::TakeAnswer(bool* pbAllowed)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_nHolding != HOLDING_ANSWERED)
        return false;
    m_nHolding = HOLDING_NONE;
    *pbAllowed = m_bHeldAllowed;
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

bool CPhoneApprovals::IsAsking(CPhoneQuestion* pQuestion) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_nHolding == HOLDING_ASKED && pQuestion)
        *pQuestion = m_question;
    return m_nHolding == HOLDING_ASKED;
}

void CPhoneApprovals::DropQuestion()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_nHolding = HOLDING_NONE;
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

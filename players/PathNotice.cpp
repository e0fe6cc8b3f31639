#include "PathNotice.h"

void CPathNotice::Use(const char* pszPath)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_path == pszPath)
        return;
    m_path = pszPath;
    m_bSaid = false;
}

bool CPathNotice::ShouldSay()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bSaid)
        return false;
    m_bSaid = true;
    return true;
}

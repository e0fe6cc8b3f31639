#include "FolderTrail.h"

bool CFolderTrail::Enter(const FolderIdentity& folder)
{
    for (const FolderIdentity& above : m_folders)
    {
        if (above.nVolume == folder.nVolume && above.nFileId == folder.nFileId)
            return false;
    }
    m_folders.push_back(folder);
    return true;
}

void CFolderTrail::Leave()
{
    if (!m_folders.empty())
        m_folders.pop_back();
}

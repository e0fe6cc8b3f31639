// LIST and DLST: the configured folders as a tree, or one folder one level deep.
// One tree is kept, the last listing's, and only one listing is built at a time.
#include "ServerCore.h"
#include <string.h>
#include "BrowseTree.h"
#include "FolderScanner.h"
#include "LogText.h"
#include "SettingsRules.h"
#include "../framework/ScopedHandle.h"
#include "../framework/WorkerThread.h"

void CServerCore::BuildBrowseTree(const char* pszFolders, bool bRecursive)
{
    // Cleared before it is destroyed: a worker cut off in between leaves no
    // pointer to freed nodes behind.
    BrowseNode* pOld = m_pBrowseRoot;
    m_pBrowseRoot = NULL;
    DestroyBrowseTree(pOld);
    CWin32FolderScanner scanner(*this);
    m_pBrowseRoot = BuildBrowseRoot(pszFolders, bRecursive, scanner);
}

void CServerCore::ListAll(CListingSink& sink)
{
    // A stop request ends the wait for the other client's listing.
    CMutexLock lock(m_hBrowseMutex, CWorkerThread::CurrentStopEvent());
    if (!lock.IsHeld())
        return;
    char szFolders[PATH_SIZE];
    snprintf(szFolders, sizeof(szFolders), "%s", BrowseFolders().c_str());
    RemoveTrailingBackslash(szFolders);
    BuildBrowseTree(szFolders, true);
    int nTotal = sink.SendListing(m_pBrowseRoot);
    if (nTotal >= 0)
        LogEvent("Wrote song list to phone (%d bytes)\r\n", nTotal);
}

void CServerCore::ListFolder(const char* pszName, CListingSink& sink)
{
    CMutexLock lock(m_hBrowseMutex, CWorkerThread::CurrentStopEvent());
    if (!lock.IsHeld())
        return;
    char szName[NAME_BUFFER_SIZE];
    snprintf(szName, sizeof(szName), "%s", pszName[0] ? pszName : BrowseFolders().c_str());
    if (pszName[0] == '\0')
        RemoveTrailingBackslash(szName);
    LogEvent("Listing \"%s\": ", LogSafeName(szName).c_str());
    BuildBrowseTree(szName, false);
    int nTotal = sink.SendListing(m_pBrowseRoot);
    if (nTotal == LISTING_EMPTY)
        LogEvent("no files to list\r\n");
    else if (nTotal >= 0)
        LogEvent("wrote list to phone (%d bytes)\r\n", nTotal);
}

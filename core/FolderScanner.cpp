#include "FolderScanner.h"
#include <stdio.h>
#include <string.h>
#include <string>
#include "LogText.h"
#include "ResolvedPaths.h"
#include "TextSizes.h"
#include "ServerCore.h"
#include "../framework/ScopedHandle.h"
#include "../framework/WorkerThread.h"

// Formats into a name-sized buffer; false when the result does not fit.
static bool FormatPath(char* pOut, const char* pszFormat, const char* pszA, const char* pszB)
{
    int nWritten = snprintf(pOut, NAME_BUFFER_SIZE, pszFormat, pszA, pszB);
    return nWritten >= 0 && nWritten < NAME_BUFFER_SIZE;
}

// Which folder the path leads to, links followed. A folder that cannot be
// opened so is scanned without it (FindFirstFileA will most likely fail too).
static bool ReadFolderIdentity(const char* pszPath, FolderIdentity* pIdentity)
{
    // "C:" alone would open the drive's current folder; the listing reads its root.
    std::string folderPath = pszPath;
    if (folderPath.size() == 2 && folderPath[1] == ':')
        folderPath += '\\';
    // Should a pipe's name get this far, its server may learn who we are but never act as us.
    CScopedHandle folder(CreateFileA(
        folderPath.c_str(), FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, NULL));
    BY_HANDLE_FILE_INFORMATION info;
    if (!folder.IsValid() || !GetFileInformationByHandle(folder.Get(), &info))
        return false;
    pIdentity->nVolume = info.dwVolumeSerialNumber;
    pIdentity->nFileId = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

void CWin32FolderScanner::ScanFolder(const char* pszPath, BrowseNode* pParent, bool bRecursive)
{
    if (!pszPath)
    {
        m_core.LogEvent("Couldn't open null directory!\r\n");
        return;
    }
    // A device or a pipe, whose "listing" (the pipes of the system) is no folder,
    // is never opened.
    if (IsDeviceNameAsResolved(pszPath))
    {
        m_core.LogEvent("Couldn't open \"%s\"\r\n", LogSafeName(pszPath).c_str());
        return;
    }
    FolderIdentity identity = {0, 0};
    bool bKnown = ReadFolderIdentity(pszPath, &identity);
    if (bKnown && !m_trail.Enter(identity))
    {
        // Still shown, as a folder DLST can open one level at a time.
        pParent->kind = KIND_FOLDER_NOT_LISTED;
        m_core.LogEvent("Didn't list \"%s\": it leads back to a folder it is in\r\n",
                        LogSafeName(pszPath).c_str());
        return;
    }
    ScanEntries(pszPath, pParent, bRecursive);
    if (bKnown)
        m_trail.Leave();
}

void CWin32FolderScanner::ScanEntries(const char* pszPath, BrowseNode* pParent, bool bRecursive)
{
    // A pattern that does not fit is a folder that cannot be opened.
    char szPattern[NAME_BUFFER_SIZE];
    WIN32_FIND_DATAA found;
    CScopedFindHandle search(FormatPath(szPattern, "%s\\%s", pszPath, "*.*")
                                 ? FindFirstFileA(szPattern, &found)
                                 : INVALID_HANDLE_VALUE);
    if (!search.IsValid())
    {
        m_core.LogEvent("Couldn't open \"%s\"\r\n", LogSafeName(pszPath).c_str());
        return;
    }
    CChildAppender children(pParent);
    do
    {
        // A stopped worker leaves the tree as far as it got; whoever owns it frees it.
        if (CWorkerThread::CurrentThreadStopRequested())
            break;
        if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0)
            continue;
        bool bFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        unsigned char nKind = !bFolder     ? KIND_FILE
                              : bRecursive ? KIND_FOLDER_LISTED
                                           : KIND_FOLDER_NOT_LISTED;
        BrowseNode* pNode = children.Append(found.cFileName, nKind);
        if (!pNode)
            break; // out of memory: the listing keeps what it has
        if (nKind != KIND_FOLDER_LISTED)
            continue;
        char szFullPath[NAME_BUFFER_SIZE];
        if (FormatPath(szFullPath, "%s\\%s", pszPath, found.cFileName))
            ScanFolder(szFullPath, pNode, true);
        else
            m_core.LogEvent("Couldn't open \"%s\\%s\"\r\n", LogSafeName(pszPath).c_str(),
                            LogSafeName(found.cFileName).c_str());
    } while (FindNextFileA(search.Get(), &found));
    FinishFolderChildren(children.Last());
}

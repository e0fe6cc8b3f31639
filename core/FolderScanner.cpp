#include "FolderScanner.h"
#include <stdio.h>
#include <string.h>
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

void CWin32FolderScanner::ScanFolder(const char* pszPath, BrowseNode* pParent, bool bRecursive)
{
    if (!pszPath)
    {
        m_core.LogEvent("Couldn't open null directory!\r\n");
        return;
    }
    // A pattern that does not fit is a folder that cannot be opened; so is a
    // device or a pipe, whose "listing" (the pipes of the system) is no folder.
    char szPattern[NAME_BUFFER_SIZE];
    WIN32_FIND_DATAA found;
    CScopedFindHandle search(!IsDeviceNameAsResolved(pszPath) &&
                                     FormatPath(szPattern, "%s\\%s", pszPath, "*.*")
                                 ? FindFirstFileA(szPattern, &found)
                                 : INVALID_HANDLE_VALUE);
    if (!search.IsValid())
    {
        m_core.LogEvent("Couldn't open \"%s\"\r\n", pszPath);
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
            m_core.LogEvent("Couldn't open \"%s\\%s\"\r\n", pszPath, found.cFileName);
    } while (FindNextFileA(search.Get(), &found));
    FinishFolderChildren(children.Last());
}

// LIST and DLST: the configured folders as a tree, or one folder one level deep.
#include "CommandHandlers.h"
#include <vector>
#include "BrowseTree.h"
#include "FolderScanner.h"
#include "NameParameter.h"
#include "Wire.h"
#include "../app/ServerDlg.h"
#include "../app/SettingsRules.h"
#include "../framework/ScopedHandle.h"

// Gathers consecutive chunks into writes of up to LISTING_WRITE_SIZE bytes: the
// bytes on the link are the same, in far fewer writes. The first write that fails
// breaks it, with the error of that write kept for the log.
class CLinkChunkWriter : public CChunkWriter
{
public:
    explicit CLinkChunkWriter(const CPhoneLink& link) : m_link(link), m_nError(0)
    {
        m_buffer.reserve(LISTING_WRITE_SIZE);
    }
    void WriteChunk(const unsigned char* pChunk, int nLength) override
    {
        if (m_buffer.size() + nLength > LISTING_WRITE_SIZE)
            Flush();
        m_buffer.insert(m_buffer.end(), pChunk, pChunk + nLength);
    }
    bool IsBroken() const override { return m_nError != 0; }
    int Error() const { return m_nError; }
    void Flush()
    {
        if (!m_buffer.empty() && !IsBroken() &&
            !WriteAllToPhone(m_link, &m_buffer[0], static_cast<int>(m_buffer.size())))
        {
            DWORD nError = GetLastError();
            m_nError = nError != 0 ? static_cast<int>(nError) : ERROR_WRITE_FAULT;
        }
        m_buffer.clear();
    }

private:
    static const size_t LISTING_WRITE_SIZE = 65536;
    const CPhoneLink& m_link;
    std::vector<unsigned char> m_buffer;
    int m_nError;
};

static void BuildBrowseTree(CServerDlg& dlg, const char* pszFolders, bool bRecursive)
{
    // Cleared before it is destroyed: a worker cut off in between leaves no
    // pointer to freed nodes behind.
    BrowseNode* pOld = dlg.m_pBrowseRoot;
    dlg.m_pBrowseRoot = NULL;
    DestroyBrowseTree(pOld);
    CWin32FolderScanner scanner(dlg);
    dlg.m_pBrowseRoot = BuildBrowseRoot(pszFolders, bRecursive, scanner);
}

static const char* const WRITE_FAILURE = "Couldn't write list to phone (error %d)\r\n";

static bool WriteListingTag(CServerDlg& dlg, const CPhoneLink& link)
{
    int nWritten = WriteToPhone(link, "LISTACK", REPLY_TAG_LENGTH);
    if (nWritten >= REPLY_TAG_LENGTH)
        return true;
    LogLinkFailure(dlg, link, WRITE_FAILURE, static_cast<int>(GetLastError()));
    return false;
}

static const unsigned char END_MARK[2] = {0xFF, 0x00};
static const int LISTING_FAILED = -1;
static const int LISTING_EMPTY = -2;

// Builds the tree and sends "LISTACK", its records and the end mark; returns the
// byte total, LISTING_EMPTY for no tree, or LISTING_FAILED once a failed write has
// been logged. A link being stopped fails silently with the total so far, so
// the listing's own line still ends. The caller holds the browse lock.
static int BuildAndSendListing(CServerDlg& dlg, const CPhoneLink& link, const char* pszFolders,
                               bool bRecursive)
{
    BuildBrowseTree(dlg, pszFolders, bRecursive);
    if (!WriteListingTag(dlg, link))
        return link.IsStopping() ? 0 : LISTING_FAILED;
    if (!dlg.m_pBrowseRoot)
    {
        WriteToPhone(link, END_MARK, 2);
        return LISTING_EMPTY;
    }
    CLinkChunkWriter writer(link);
    int nTotal = SendBrowseTreeChunks(dlg.m_pBrowseRoot, writer);
    writer.Flush();
    if (!writer.IsBroken() || link.IsStopping())
        return nTotal;
    LogLinkFailure(dlg, link, WRITE_FAILURE, writer.Error());
    return LISTING_FAILED;
}

void HandleList(CServerDlg& dlg, const CPhoneLink& link)
{
    // One tree for both links: never built or sent by two at once. A stop
    // request ends the wait for the other link's listing.
    CMutexLock lock(dlg.m_hBrowseMutex, link.StopEvent());
    if (!lock.IsHeld())
        return;
    // The whole list, as long as the window and the settings let it be.
    char szFolders[PATH_SIZE];
    dlg.ReadBrowseFolders(szFolders, sizeof(szFolders));
    RemoveTrailingBackslash(szFolders);
    int nTotal = BuildAndSendListing(dlg, link, szFolders, true);
    if (nTotal >= 0)
        dlg.LogEvent("Wrote song list to phone (%d bytes)\r\n", nTotal);
}

void HandleFolderList(CServerDlg& dlg, const CPhoneLink& link)
{
    char szName[NAME_BUFFER_SIZE];
    if (!ReadNameParameter(dlg, link, szName, FOLDER_NAME_FAILURES))
        return;
    CMutexLock lock(dlg.m_hBrowseMutex, link.StopEvent());
    if (!lock.IsHeld())
        return;
    if (szName[0] == '\0')
    {
        dlg.ReadBrowseFolders(szName, sizeof(szName));
        RemoveTrailingBackslash(szName);
    }
    dlg.LogEvent("Listing \"%s\": ", szName);
    int nTotal = BuildAndSendListing(dlg, link, szName, false);
    if (nTotal == LISTING_EMPTY)
        dlg.LogEvent("no files to list\r\n");
    else if (nTotal >= 0)
        dlg.LogEvent("wrote list to phone (%d bytes)\r\n", nTotal);
}

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

// Gathers the tag "LISTACK" and consecutive chunks into writes of up to
// LISTING_WRITE_SIZE bytes: the bytes on the link are the same, in far fewer
// writes, and a listing that fits in one leaves whole, so no part of it waits
// for the phone's acknowledgement of the part before. The first write that
// fails breaks it, with the error of that write kept for the log.
class CLinkChunkWriter : public CChunkWriter
{
public:
    explicit CLinkChunkWriter(const CPhoneLink& link)
        : m_link(link), m_bFirstWrite(true), m_bTagFailed(false), m_nError(0)
    {
        m_buffer.reserve(LISTING_WRITE_SIZE);
        m_buffer.insert(m_buffer.end(), "LISTACK", "LISTACK" + REPLY_TAG_LENGTH);
    }
    void WriteChunk(const unsigned char* pChunk, int nLength) override
    {
        if (m_buffer.size() + nLength > LISTING_WRITE_SIZE)
            Flush();
        m_buffer.insert(m_buffer.end(), pChunk, pChunk + nLength);
    }
    bool IsBroken() const override { return m_nError != 0; }
    // The write carrying the tag failed: the phone got no listing at all.
    bool TagFailed() const { return m_bTagFailed; }
    int Error() const { return m_nError; }
    void Flush()
    {
        if (!m_buffer.empty() && !IsBroken() &&
            !WriteAllToPhone(m_link, &m_buffer[0], static_cast<int>(m_buffer.size())))
        {
            DWORD nError = GetLastError();
            m_nError = nError != 0 ? static_cast<int>(nError) : ERROR_WRITE_FAULT;
            m_bTagFailed = m_bFirstWrite;
        }
        m_bFirstWrite = false;
        m_buffer.clear();
    }

private:
    static const size_t LISTING_WRITE_SIZE = 65536;
    const CPhoneLink& m_link;
    std::vector<unsigned char> m_buffer;
    bool m_bFirstWrite;
    bool m_bTagFailed;
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
static const unsigned char END_MARK[2] = {0xFF, 0x00};
static const int LISTING_FAILED = -1;
static const int LISTING_EMPTY = -2;

// Builds the tree and sends "LISTACK", its records and the end mark; returns the
// byte total, LISTING_EMPTY for no tree, or LISTING_FAILED when the tag could not
// be written (logged). A write that fails after the tag ends the listing there;
// a link being stopped fails silently, so the listing's own line still ends.
// The caller holds the browse lock.
static int BuildAndSendListing(CServerDlg& dlg, const CPhoneLink& link, const char* pszFolders,
                               bool bRecursive)
{
    BuildBrowseTree(dlg, pszFolders, bRecursive);
    CLinkChunkWriter writer(link);
    int nTotal = LISTING_EMPTY;
    if (dlg.m_pBrowseRoot)
        nTotal = SendBrowseTreeChunks(dlg.m_pBrowseRoot, writer);
    else
        writer.WriteChunk(END_MARK, 2);
    writer.Flush();
    if (!writer.TagFailed())
        return nTotal;
    LogLinkFailure(dlg, link, WRITE_FAILURE, writer.Error());
    return link.IsStopping() ? 0 : LISTING_FAILED;
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

// LIST and DLST on the phone's wire: the tree's records in chunks after "LISTACK".
#include "CommandHandlers.h"
#include <vector>
#include "NameParameter.h"
#include "Wire.h"
#include "../core/BrowseTree.h"
#include "../core/ServerCore.h"

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

static const char* const WRITE_FAILURE = "Couldn't write list to phone (error %d)\r\n";
static const unsigned char END_MARK[2] = {0xFF, 0x00};

// Sends "LISTACK", the tree's records and the end mark; a write that fails after
// the tag ends the listing there; a link being stopped fails silently, so the
// listing's own line still ends.
class CLinkListingSink : public CListingSink
{
public:
    CLinkListingSink(CServerCore& core, const CPhoneLink& link) : m_core(core), m_link(link) {}
    int SendListing(BrowseNode* pRoot) override
    {
        CLinkChunkWriter writer(m_link);
        int nTotal = LISTING_EMPTY;
        if (pRoot)
            nTotal = SendBrowseTreeChunks(pRoot, writer);
        else
            writer.WriteChunk(END_MARK, 2);
        writer.Flush();
        if (!writer.TagFailed())
            return nTotal;
        LogLinkFailure(m_core, m_link, WRITE_FAILURE, writer.Error());
        return m_link.IsStopping() ? 0 : LISTING_FAILED;
    }

private:
    CServerCore& m_core;
    const CPhoneLink& m_link;
};

void HandleList(CServerCore& core, const CPhoneLink& link, int)
{
    CLinkListingSink sink(core, link);
    core.ListAll(sink);
}

void HandleFolderList(CServerCore& core, const CPhoneLink& link, int)
{
    char szName[NAME_BUFFER_SIZE];
    if (!ReadNameParameter(core, link, szName, FOLDER_NAME_FAILURES))
        return;
    CLinkListingSink sink(core, link);
    core.ListFolder(szName, sink);
}

// PLAY and LADD (in the application that handles the file's type), FINF and DOWN.
#include "CommandHandlers.h"
#include "NameParameter.h"
#include "Wire.h"
#include "../core/CommandSet.h"
#include "../core/ServerCore.h"

void HandlePlayOrAdd(CServerCore& core, const CPhoneLink& link, int nId)
{
    char szName[NAME_BUFFER_SIZE];
    if (!ReadNameParameter(core, link, szName, PLAY_NAME_FAILURES))
        return;
    if (nId == CMD_LADD)
        core.Enqueue(szName);
    else
        core.PlayFile(szName);
}

void HandleFileInfo(CServerCore& core, const CPhoneLink& link, int)
{
    char szName[NAME_BUFFER_SIZE];
    int nLength = 0;
    if (!ReadNameParameter(core, link, szName, FILE_NAME_FAILURES) ||
        !core.FileInfo(szName, &nLength))
        return;
    unsigned char reply[REPLY_TAG_LENGTH + 4];
    WriteReplyTag("FINF", reply);
    PackBE32(static_cast<uint32_t>(nLength), reply + REPLY_TAG_LENGTH);
    WriteToPhone(link, reply, sizeof(reply));
}

// DOWNACK and then the file's bytes. The tag goes with the first block, so that
// block never waits for the phone's acknowledgement of the tag; an empty file
// sends the tag alone.
class CLinkDownloadSink : public CDownloadSink
{
public:
    explicit CLinkDownloadSink(const CPhoneLink& link) : m_link(link), m_bTagSent(false) {}
    bool Send(const char* pData, int nCount) override
    {
        if (m_bTagSent)
            return WriteAllToPhone(m_link, pData, nCount);
        m_bTagSent = true;
        return WriteHeadAndBodyToPhone(m_link, "DOWNACK", REPLY_TAG_LENGTH, pData, nCount);
    }

private:
    const CPhoneLink& m_link;
    bool m_bTagSent;
};

void HandleDownload(CServerCore& core, const CPhoneLink& link, int)
{
    char szName[NAME_BUFFER_SIZE];
    if (!ReadNameParameter(core, link, szName, FILE_NAME_FAILURES))
        return;
    CLinkDownloadSink sink(link);
    core.Download(szName, sink);
}

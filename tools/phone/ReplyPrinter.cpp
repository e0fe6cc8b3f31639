#include "ReplyPrinter.h"
#include <stdio.h>
#include "ListingLayout.h"
#include "NameText.h"
#include "ReplyText.h"

// Once a reply has begun, its parts follow each other closely.
static const DWORD GAP_MS = 30000;
// INFOACK's title and a download have no end mark: they end when the link goes quiet.
static const DWORD TITLE_QUIET_MS = 300;
static const DWORD DOWNLOAD_QUIET_MS = 3000;

CReplyPrinter::CReplyPrinter(CPhoneClient& phone, unsigned nCodePage, bool bRaw, DWORD nWaitMs)
    : m_phone(phone), m_nCodePage(nCodePage), m_bRaw(bRaw), m_nWaitMs(nWaitMs), m_nCommandWaitMs(0),
      m_nReceived(0)
{
}

// LIST and DLST both answer with LISTACK; every other tag is the command and ACK.
static bool HasTag(const std::string& reply, const PhoneCommand& command)
{
    std::string tag = command.reply == REPLY_LISTING ? "LIST" : command.pszName;
    return reply.compare(0, 7, tag + "ACK") == 0;
}

bool CReplyPrinter::Read(size_t nCount, std::string& out)
{
    bool bComplete = m_phone.Receive(nCount, out, m_nReceived == 0 ? m_nCommandWaitMs : GAP_MS);
    m_nReceived += out.size();
    return bComplete;
}

bool CReplyPrinter::ReadText(std::string& out)
{
    bool bComplete =
        m_phone.ReceiveThrough('\0', out, m_nReceived == 0 ? m_nCommandWaitMs : GAP_MS);
    m_nReceived += out.size();
    if (bComplete)
        out.erase(out.size() - 1);
    return bComplete;
}

ReplyOutcome CReplyPrinter::ReadTagged(const PhoneCommand& command, size_t nCount, std::string& out)
{
    if (!Read(nCount, out))
        return Failed();
    return HasTag(out, command) ? OUTCOME_DONE : Unexpected(out);
}

ReplyOutcome CReplyPrinter::Failed() const
{
    return m_nReceived == 0 ? OUTCOME_NO_REPLY : OUTCOME_CUT_SHORT;
}

ReplyOutcome CReplyPrinter::Unexpected(const std::string& bytes)
{
    m_unexpected = bytes;
    return OUTCOME_UNEXPECTED;
}

ReplyOutcome CReplyPrinter::Print(const PhoneCommand& command)
{
    m_nReceived = 0;
    m_unexpected.clear();
    m_nCommandWaitMs = m_nWaitMs ? m_nWaitMs : 1000 * command.nWaitSeconds;
    std::string reply;
    ReplyOutcome outcome;
    switch (command.reply)
    {
    case REPLY_NONE:
        printf("%s sent (no reply)\n", command.pszName);
        return OUTCOME_DONE;
    case REPLY_CHECK:
        if (!Read(1, reply))
            return Failed();
        if (reply != "Y")
            return Unexpected(reply);
        printf("Y: the link is alive\n");
        return OUTCOME_DONE;
    case REPLY_FIXED:
        outcome = ReadTagged(command, command.nReplyLength, reply);
        if (outcome == OUTCOME_DONE)
            printf("%s\n", DescribeFixedReply(reply).c_str());
        return outcome;
    case REPLY_INFO:
    case REPLY_INF2:
        return PrintStatus(command);
    case REPLY_LISTING:
        return PrintListing(command);
    case REPLY_PLAYLIST:
        return PrintPlaylist(command);
    case REPLY_DOWNLOAD:
        return PrintDownload(command);
    }
    return OUTCOME_UNEXPECTED;
}

ReplyOutcome CReplyPrinter::PrintStatus(const PhoneCommand& command)
{
    std::string reply, title;
    ReplyOutcome outcome = ReadTagged(command, 18, reply);
    if (outcome != OUTCOME_DONE)
        return outcome;
    if (command.reply == REPLY_INFO)
        title = m_phone.ReceiveUntilQuiet(TITLE_QUIET_MS, 2000);
    else if (!ReadText(title))
        return Failed();
    printf("%s\n", DescribeStatusReply(reply + AnsiForTerminal(title, m_nCodePage)).c_str());
    return OUTCOME_DONE;
}

ReplyOutcome CReplyPrinter::PrintListing(const PhoneCommand& command)
{
    std::string tag, head, name;
    ReplyOutcome outcome = ReadTagged(command, 7, tag);
    if (outcome != OUTCOME_DONE)
        return outcome;
    printf("%s\n", tag.c_str());
    CListingLayout layout;
    unsigned long nRecords = 0;
    for (;;)
    {
        if (!Read(1, head))
            return Failed();
        unsigned char nHead = static_cast<unsigned char>(head[0]);
        if (nHead == 0xFF)
            break;
        if (!ReadText(name))
            return Failed();
        int nDepth = layout.NextDepth(nHead);
        name = AnsiForTerminal(name, m_nCodePage);
        std::string line = m_bRaw ? RawListingLine(nHead, name) : ListingLine(nDepth, nHead, name);
        printf("%s\n", line.c_str());
        nRecords++;
    }
    if (!Read(1, head))
        return Failed();
    if (m_bRaw)
        printf("FF %s\n", HexBytes(head).c_str());
    else
        printf("end of listing, %lu records\n", nRecords);
    // Only the configured folders can give no record at all: there are none.
    if (nRecords == 0)
    {
        fflush(stdout);
        fprintf(stderr, "quorvel-phone: nothing to list: set \"Files to browse:\" in the server's "
                        "window, or Path= in its QuorvelServer.ini\n");
    }
    return OUTCOME_DONE;
}

ReplyOutcome CReplyPrinter::PrintPlaylist(const PhoneCommand& command)
{
    std::string header, text;
    ReplyOutcome outcome = ReadTagged(command, 9, header);
    if (outcome != OUTCOME_DONE)
        return outcome;
    if (!ReadText(text))
        return Failed();
    unsigned nIndex =
        static_cast<unsigned char>(header[7]) * 256u + static_cast<unsigned char>(header[8]);
    // Without a playlist the header comes twice, then one zero byte; the zero
    // may already have ended the text inside the repeated index.
    if (text.compare(0, 7, "PLSTACK") == 0 && text.size() <= 9)
    {
        std::string rest;
        if (!Read(10 - (text.size() + 1), rest))
            return Failed();
        printf("PLSTACK current entry %u, no playlist from this application\n", nIndex);
        return OUTCOME_DONE;
    }
    printf("PLSTACK current entry %u, %u bytes:\n%s\n", nIndex,
           static_cast<unsigned>(text.size() + 1), AnsiForTerminal(text, m_nCodePage).c_str());
    return OUTCOME_DONE;
}

ReplyOutcome CReplyPrinter::PrintDownload(const PhoneCommand& command)
{
    std::string tag;
    ReplyOutcome outcome = ReadTagged(command, 7, tag);
    if (outcome != OUTCOME_DONE)
        return outcome;
    // Taken in parts of about a second each, so a large file is never held whole.
    unsigned long long nBytes = 0;
    for (;;)
    {
        std::string part = m_phone.ReceiveUntilQuiet(DOWNLOAD_QUIET_MS, 1000);
        if (part.empty())
            break;
        nBytes += part.size();
    }
    m_nReceived += static_cast<size_t>(nBytes);
    printf("DOWNACK and %s bytes of the file\n", std::to_string(nBytes).c_str());
    return OUTCOME_DONE;
}

// Reads the reply to one command of the phone tool and prints it decoded.
#pragma once
#include <string>
#include "PhoneClient.h"
#include "PhoneCommands.h"

enum ReplyOutcome
{
    OUTCOME_DONE,
    OUTCOME_NO_REPLY,  // nothing came in time
    OUTCOME_CUT_SHORT, // the reply began, then stopped
    OUTCOME_UNEXPECTED // bytes that are not this command's reply
};

class CReplyPrinter
{
public:
    // nCodePage: the server's text is printed in it (0: as it came, which bRaw
    // also keeps listings); nWaitMs: how long the reply may take to start, 0 for
    // the command's own time.
    CReplyPrinter(CPhoneClient& phone, unsigned nCodePage, bool bRaw, DWORD nWaitMs);

    ReplyOutcome Print(const PhoneCommand& command);
    // Of the last reply: the bytes that came, and what was unexpected in them.
    size_t BytesReceived() const { return m_nReceived; }
    const std::string& UnexpectedBytes() const { return m_unexpected; }
    // How long the last command's reply could take to start.
    DWORD WaitMs() const { return m_nCommandWaitMs; }

private:
    bool Read(size_t nCount, std::string& out);
    // Zero-terminated text, without its zero.
    bool ReadText(std::string& out);
    // The first nCount bytes of the reply, which must start with the command's tag.
    ReplyOutcome ReadTagged(const PhoneCommand& command, size_t nCount, std::string& out);
    ReplyOutcome Failed() const;
    ReplyOutcome Unexpected(const std::string& bytes);
    ReplyOutcome PrintStatus(const PhoneCommand& command);
    ReplyOutcome PrintListing(const PhoneCommand& command);
    ReplyOutcome PrintPlaylist(const PhoneCommand& command);
    ReplyOutcome PrintDownload(const PhoneCommand& command);

    CPhoneClient& m_phone;
    unsigned m_nCodePage;
    bool m_bRaw;
    DWORD m_nWaitMs;
    DWORD m_nCommandWaitMs;
    size_t m_nReceived;
    std::string m_unexpected;
};

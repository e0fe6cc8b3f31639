// Running a phone command for the page: the command's own handler runs over an
// in-memory link, with its parameters from a buffer and its reply to a sink.
#pragma once
#include <string>
#include "../protocol/PhoneLink.h"

class CServerDlg;

// Keeps a reply of up to nLimit bytes; a handler that writes more is refused,
// as by a link that broke.
class CReplyBuffer : public CReplySink
{
public:
    explicit CReplyBuffer(size_t nLimit) : m_nLimit(nLimit) {}
    int Write(const void* pData, int nCount) override;
    const std::string& Bytes() const { return m_bytes; }

private:
    size_t m_nLimit;
    std::string m_bytes;
};

// Runs the command as the phone links do (RunCommand: the pre-dispatch step, the
// handler, its log lines and locks). pWorker's stop request cuts it off.
void RunPhoneCommand(CServerDlg& dlg, const CWorkerThread& worker, const char* pszCommand,
                     const std::string& params, CReplySink& sink);

// A name parameter: 2-byte big-endian length and the ANSI bytes (at most 1023).
std::string NameParameterBytes(const std::string& ansiName);

// The kind (0..4) of the active controller.
int ActiveAppKind(CServerDlg& dlg);

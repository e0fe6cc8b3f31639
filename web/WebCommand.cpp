#include "WebCommand.h"
#include <string.h>
#include "../app/ServerDlg.h"
#include "../protocol/CommandHandlers.h"

int CReplyBuffer::Write(const void* pData, int nCount)
{
    if (nCount < 0 || m_bytes.size() + nCount > m_nLimit)
        return -1;
    m_bytes.append(static_cast<const char*>(pData), nCount);
    return nCount;
}

void RunPhoneCommand(CServerDlg& dlg, const CWorkerThread& worker, const char* pszCommand,
                     const std::string& params, CReplySink& sink)
{
    CMemoryLink memory = {reinterpret_cast<const unsigned char*>(params.data()),
                          static_cast<int>(params.size()), 0, &sink};
    CPhoneLink link = {INVALID_HANDLE_VALUE, INVALID_SOCKET, &worker, NULL, &memory};
    char szCommand[5] = {};
    memcpy(szCommand, pszCommand, 4);
    RunCommand(dlg, link, szCommand);
}

std::string NameParameterBytes(const std::string& ansiName)
{
    size_t nLength = ansiName.size();
    std::string bytes;
    bytes += static_cast<char>((nLength >> 8) & 0xFF);
    bytes += static_cast<char>(nLength & 0xFF);
    return bytes + ansiName;
}

int ActiveAppKind(CServerDlg& dlg)
{
    CPlayerController* pActive = dlg.GetActive();
    for (int i = 0; i < APP_KIND_COUNT; i++)
    {
        if (dlg.m_pControllers[i] == pActive)
            return i;
    }
    return -1;
}

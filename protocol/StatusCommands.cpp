// The status replies: each is built whole in a buffer and written at once.
#include "CommandHandlers.h"
#include "CommandRules.h"
#include "Wire.h"
#include "../app/ServerDlg.h"

static void SendStatus(CServerDlg& dlg, const CPhoneLink& link, const char* pszCommand,
                       bool bWaitAndNoEndMark)
{
    PlayState nState = 0;
    int nLength = 0, nPosition = 0, nShuffle = 0, nRepeat = 0;
    char szTitle[STATUS_TITLE_SIZE] = {};
    dlg.GetActive()->GetStatus(&nState, &nLength, &nPosition, &nShuffle, &nRepeat, szTitle,
                               sizeof(szTitle), bWaitAndNoEndMark ? 1 : 0);
    unsigned char reply[STATUS_REPLY_MAX];
    bool bZeroEnd = !bWaitAndNoEndMark;
    size_t nSize = BuildStatusReply(pszCommand, nState, nLength, nPosition, nShuffle, nRepeat,
                                    szTitle, bZeroEnd, reply);
    unsigned nFixed = static_cast<unsigned>(STATUS_REPLY_FIXED + (bZeroEnd ? 1 : 0));
    int nWritten = WriteToPhone(link, reply, static_cast<int>(nSize));
    // Taken as unsigned: a socket error (negative) is not reported here.
    if (static_cast<unsigned>(nWritten) < nFixed)
        dlg.LogEvent("Only wrote %d bytes of %sACK\r\n", nWritten, pszCommand);
}

void HandleInfo(CServerDlg& dlg, const CPhoneLink& link)
{
    SendStatus(dlg, link, "INFO", true);
}

void HandleInfo2(CServerDlg& dlg, const CPhoneLink& link)
{
    SendStatus(dlg, link, "INF2", false);
}

void HandleDetailedInfo(CServerDlg& dlg, const CPhoneLink& link)
{
    int nBitRate = 0, nSampleRate = 0, nChannels = 0;
    dlg.GetActive()->GetDetailedInfo(&nBitRate, &nSampleRate, &nChannels);
    unsigned char reply[19];
    size_t nSize = BuildDetailedInfoReply(nBitRate, nSampleRate, nChannels, reply);
    WriteToPhone(link, reply, static_cast<int>(nSize));
    dlg.LogEvent("Sent detailed track info to phone\r\n");
}

void HandlePlaylistLength(CServerDlg& dlg, const CPhoneLink& link)
{
    int nCount = 0;
    dlg.GetActive()->GetPlaylistLength(&nCount);
    unsigned char reply[9];
    size_t nSize = BuildCountReply("PLEN", nCount, reply);
    WriteToPhone(link, reply, static_cast<int>(nSize));
    dlg.LogEvent("Returned playlist length: %d\r\n", nCount);
}

void HandleVersion(CServerDlg&, const CPhoneLink& link)
{
    unsigned char reply[REPLY_TAG_LENGTH + 2];
    WriteReplyTag("VERS", reply);
    reply[7] = PROTOCOL_VERSION_MAJOR;
    reply[8] = PROTOCOL_VERSION_MINOR;
    WriteToPhone(link, reply, sizeof(reply));
}

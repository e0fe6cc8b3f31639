// The status replies: each is built whole in a buffer and written at once.
#include "CommandHandlers.h"
#include <string.h>
#include "CommandRules.h"
#include "Wire.h"
#include "../core/CommandSet.h"
#include "../core/ServerCore.h"

// INFO waits for the application to know the track's length and ends without a
// mark; INF2 answers at once and ends its title with a zero byte.
void HandleInfo(CServerCore& core, const CPhoneLink& link, int nId)
{
    bool bWaitAndNoEndMark = nId == CMD_INFO;
    const char* pszCommand = CommandName(nId);
    PlayerStatus status = core.Status(bWaitAndNoEndMark);
    unsigned char reply[STATUS_REPLY_MAX];
    bool bZeroEnd = !bWaitAndNoEndMark;
    size_t nSize =
        BuildStatusReply(pszCommand, status.nState, status.nLength, status.nPosition,
                         status.nShuffle, status.nRepeat, status.szTitle, bZeroEnd, reply);
    unsigned nFixed = static_cast<unsigned>(STATUS_REPLY_FIXED + (bZeroEnd ? 1 : 0));
    int nWritten = WriteToPhone(link, reply, static_cast<int>(nSize));
    // Taken as unsigned: a socket error (negative) is not reported here.
    if (static_cast<unsigned>(nWritten) < nFixed)
        core.LogEvent("Only wrote %d bytes of %sACK\r\n", nWritten, pszCommand);
}

void HandleDetailedInfo(CServerCore& core, const CPhoneLink& link, int)
{
    int nBitRate = 0, nSampleRate = 0, nChannels = 0;
    core.GetDetailedInfo(&nBitRate, &nSampleRate, &nChannels);
    unsigned char reply[19];
    size_t nSize = BuildDetailedInfoReply(nBitRate, nSampleRate, nChannels, reply);
    WriteToPhone(link, reply, static_cast<int>(nSize));
    core.LogEvent("Sent detailed track info to phone\r\n");
}

void HandlePlaylistLength(CServerCore& core, const CPhoneLink& link, int)
{
    unsigned char reply[9];
    size_t nSize = BuildCountReply("PLEN", core.PlaylistLength(), reply);
    WriteToPhone(link, reply, static_cast<int>(nSize));
}

void HandleVersion(CServerCore&, const CPhoneLink& link, int)
{
    unsigned char reply[REPLY_TAG_LENGTH + 2];
    WriteReplyTag("VERS", reply);
    reply[7] = PROTOCOL_VERSION_MAJOR;
    reply[8] = PROTOCOL_VERSION_MINOR;
    WriteToPhone(link, reply, sizeof(reply));
}

// PLSTACK with the index of the current entry, then the application's playlist
// text; each form leaves in one write, so no part waits for the phone's
// acknowledgement of the part before.
class CLinkPlaylistSink : public CPlaylistSink
{
public:
    explicit CLinkPlaylistSink(const CPhoneLink& link) : m_link(link) {}
    void SendPlaylist(const char* pText, int nSize, int nIndex) override
    {
        unsigned char header[19];
        BuildCountReply("PLST", nIndex, header);
        if (pText)
        {
            WriteHeadAndBodyToPhone(m_link, header, 9, pText, nSize);
            return;
        }
        // Phones expect the header again and one zero byte when there is no playlist.
        memcpy(header + 9, header, 9);
        header[18] = 0;
        WriteToPhone(m_link, header, sizeof(header));
    }

private:
    const CPhoneLink& m_link;
};

void HandlePlaylist(CServerCore& core, const CPhoneLink& link, int)
{
    CLinkPlaylistSink sink(link);
    core.Playlist(sink);
}

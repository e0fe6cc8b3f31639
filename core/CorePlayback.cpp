// The operations on what is playing: the buttons, the settings of the player,
// the status and the playlist. Each button calls the active controller and logs
// one line.
#include "ServerCore.h"
#include <stdlib.h>
#include <string.h>
#include "CommandSet.h"
#include "LogLine.h"

void CServerCore::Stop(int nMode)
{
    Active()->Stop(nMode);
    LogEvent("Stopping\r\n");
}

void CServerCore::Play()
{
    Active()->Play();
    LogEvent("Playing\r\n");
}

void CServerCore::Pause()
{
    Active()->Pause();
    LogEvent("Pause\r\n");
}

void CServerCore::NextTrack()
{
    Active()->NextTrack();
    LogEvent("Next track\r\n");
}

void CServerCore::PreviousTrack()
{
    Active()->PreviousTrack();
    LogEvent("Previous track\r\n");
}

void CServerCore::FastForward()
{
    Active()->FastForward();
    LogEvent("Fast forward\r\n");
}

void CServerCore::Rewind()
{
    Active()->Rewind();
    LogEvent("Rewind\r\n");
}

void CServerCore::ToggleFullScreen()
{
    Active()->ToggleFullScreen();
    LogEvent("Full screen\r\n");
}

void CServerCore::ClearPlaylist()
{
    Active()->ClearPlaylist();
    LogEvent("Removed all songs from playlist\r\n");
}

void CServerCore::SetVolume(int nVolume)
{
    Active()->SetVolume(nVolume);
    LogEvent("Set volume to %d%%\r\n", VolumePercent(static_cast<unsigned>(nVolume)));
}

void CServerCore::SetShuffle(int nOn)
{
    Active()->SetShuffle(nOn);
    LogEvent("Changing shuffle to %s\r\n", OnOffText(static_cast<unsigned>(nOn)));
}

void CServerCore::SetRepeat(int nOn)
{
    Active()->SetRepeat(nOn);
    LogEvent("Changing repeat to %s\r\n", OnOffText(static_cast<unsigned>(nOn)));
}

void CServerCore::Select(int nIndex)
{
    Active()->SelectPlaylistItem(nIndex);
    LogEvent("Selected song %d in playlist\r\n", nIndex);
}

void CServerCore::Seek(int nSeconds)
{
    Active()->Seek(nSeconds);
    LogEvent("Set seek to %d seconds\r\n", nSeconds);
}

bool CServerCore::RunControl(int nCommandId, long nValue)
{
    int nValueAsInt = static_cast<int>(nValue);
    switch (nCommandId)
    {
    case CMD_STOP:
        Stop(0);
        return true;
    case CMD_FADE:
        Stop(1);
        return true;
    case CMD_STEN:
        Stop(2);
        return true;
    case CMD_STRT:
        Play();
        return true;
    case CMD_PAUS:
        Pause();
        return true;
    case CMD_NEXT:
        NextTrack();
        return true;
    case CMD_PREV:
        PreviousTrack();
        return true;
    case CMD_FFWD:
        FastForward();
        return true;
    case CMD_RWND:
        Rewind();
        return true;
    case CMD_FULL:
        ToggleFullScreen();
        return true;
    case CMD_RMAL:
        ClearPlaylist();
        return true;
    case CMD_VOLM:
        SetVolume(nValueAsInt);
        return true;
    case CMD_SHFL:
        SetShuffle(nValueAsInt);
        return true;
    case CMD_REPT:
        SetRepeat(nValueAsInt);
        return true;
    case CMD_SLCT:
        Select(nValueAsInt);
        return true;
    case CMD_SEEK:
        Seek(nValueAsInt);
        return true;
    }
    return false;
}

PlayerStatus CServerCore::Status(bool bWait)
{
    PlayerStatus status;
    memset(&status, 0, sizeof(status));
    Active()->GetStatus(&status.nState, &status.nLength, &status.nPosition, &status.nShuffle,
                        &status.nRepeat, status.szTitle, sizeof(status.szTitle), bWait ? 1 : 0);
    status.szTitle[sizeof(status.szTitle) - 1] = '\0';
    return status;
}

int CServerCore::Volume()
{
    return Active()->GetVolume();
}

MediaDetails CServerCore::Details()
{
    MediaDetails details;
    Active()->GetMediaDetails(&details);
    return details;
}

bool CServerCore::Artwork(std::string* pBytes, std::string* pType, unsigned* pnVersion)
{
    return Active()->GetArtwork(pBytes, pType, pnVersion);
}

bool CServerCore::ChooseMediaApp(const std::string& appId)
{
    return Active()->ChooseMediaApp(appId);
}

void CServerCore::GetDetailedInfo(int* pBitRate, int* pSampleRate, int* pChannels)
{
    Active()->GetDetailedInfo(pBitRate, pSampleRate, pChannels);
}

int CServerCore::PlaylistLength()
{
    int nCount = 0;
    Active()->GetPlaylistLength(&nCount);
    LogEvent("Returned playlist length: %d\r\n", nCount);
    return nCount;
}

void CServerCore::Playlist(CPlaylistSink& sink)
{
    LogEvent("Writing playlist to phone\r\n");
    char* pText = NULL;
    int nSize = 0, nIndex = 0;
    Active()->GetPlaylist(&pText, &nSize, &nIndex);
    if (!pText)
        LogEvent("Couldn't get playlist! Playlist retrieval is only supported for Winamp 2.\r\n");
    sink.SendPlaylist(pText, nSize, nIndex);
    if (!pText)
        return;
    free(pText);
    LogEvent("Finished writing playlist\r\n");
}

// The phone's remote-control buttons: each calls one operation of the active
// controller and logs one line; none sends a reply. And CHCK, the link test.
#include "CommandHandlers.h"
#include "CommandRules.h"
#include "Wire.h"
#include "../app/ServerDlg.h"

void HandleCheck(CServerDlg& dlg, const CPhoneLink& link)
{
    WriteToPhone(link, "Y", 1);
    dlg.LogEvent("Sent ACK to phone\r\n");
}

void RunStop(CServerDlg& dlg, int nMode)
{
    dlg.GetActive()->Stop(nMode);
    dlg.LogEvent("Stopping\r\n");
}

void HandleStop(CServerDlg& dlg, const CPhoneLink&)
{
    RunStop(dlg, 0);
}

void HandleFade(CServerDlg& dlg, const CPhoneLink&)
{
    RunStop(dlg, 1);
}

void HandleStopAtEnd(CServerDlg& dlg, const CPhoneLink&)
{
    RunStop(dlg, 2);
}

void HandlePlay(CServerDlg& dlg, const CPhoneLink&)
{
    dlg.GetActive()->Play();
    dlg.LogEvent("Playing\r\n");
}

void HandlePause(CServerDlg& dlg, const CPhoneLink&)
{
    dlg.GetActive()->Pause();
    dlg.LogEvent("Pause\r\n");
}

void HandleNext(CServerDlg& dlg, const CPhoneLink&)
{
    dlg.GetActive()->NextTrack();
    dlg.LogEvent("Next track\r\n");
}

void HandlePrevious(CServerDlg& dlg, const CPhoneLink&)
{
    dlg.GetActive()->PreviousTrack();
    dlg.LogEvent("Previous track\r\n");
}

void HandleFastForward(CServerDlg& dlg, const CPhoneLink&)
{
    dlg.GetActive()->FastForward();
    dlg.LogEvent("Fast forward\r\n");
}

void HandleRewind(CServerDlg& dlg, const CPhoneLink&)
{
    dlg.GetActive()->Rewind();
    dlg.LogEvent("Rewind\r\n");
}

void HandleFullScreen(CServerDlg& dlg, const CPhoneLink&)
{
    dlg.GetActive()->ToggleFullScreen();
    dlg.LogEvent("Full screen\r\n");
}

void HandleRemoveAll(CServerDlg& dlg, const CPhoneLink&)
{
    dlg.GetActive()->ClearPlaylist();
    dlg.LogEvent("Removed all songs from playlist\r\n");
}

// Reads a parameter of nCount bytes; on failure logs pszFailure with the error code.
static bool ReadParameter(CServerDlg& dlg, const CPhoneLink& link, unsigned char* pBytes,
                          int nCount, const char* pszFailure)
{
    if (ReadFromPhone(link, pBytes, nCount))
        return true;
    LogLinkFailure(dlg, link, pszFailure, static_cast<int>(GetLastError()));
    return false;
}

void HandleVolume(CServerDlg& dlg, const CPhoneLink& link)
{
    unsigned char nVolume = 0;
    if (!ReadParameter(dlg, link, &nVolume, 1, "Couldn't read volume: %d\r\n"))
        return;
    dlg.GetActive()->SetVolume(nVolume);
    dlg.LogEvent("Set volume to %d%%\r\n", VolumePercent(nVolume));
}

void HandleShuffle(CServerDlg& dlg, const CPhoneLink& link)
{
    unsigned char nShuffle = 0;
    if (!ReadParameter(dlg, link, &nShuffle, 1, "Couldn't read shuffle: %d\r\n"))
        return;
    dlg.GetActive()->SetShuffle(nShuffle);
    dlg.LogEvent("Changing shuffle to %s\r\n", OnOffText(nShuffle));
}

void HandleRepeat(CServerDlg& dlg, const CPhoneLink& link)
{
    unsigned char nRepeat = 0;
    if (!ReadParameter(dlg, link, &nRepeat, 1, "Couldn't read repeat: %d\r\n"))
        return;
    dlg.GetActive()->SetRepeat(nRepeat);
    dlg.LogEvent("Changing repeat to %s\r\n", OnOffText(nRepeat));
}

void HandleSelect(CServerDlg& dlg, const CPhoneLink& link)
{
    unsigned char index[2];
    if (!ReadParameter(dlg, link, index, 2, "Couldn't read playlist index: %d\r\n"))
        return;
    int nIndex = static_cast<int>(UnpackBE16(index));
    dlg.GetActive()->SelectPlaylistItem(nIndex);
    dlg.LogEvent("Selected song %d in playlist\r\n", nIndex);
}

void HandleSeek(CServerDlg& dlg, const CPhoneLink& link)
{
    unsigned char seconds[4];
    if (!ReadParameter(dlg, link, seconds, 4, "Couldn't read seek: %d\r\n"))
        return;
    int nSeconds = static_cast<int>(UnpackBE32(seconds));
    dlg.GetActive()->Seek(nSeconds);
    dlg.LogEvent("Set seek to %d seconds\r\n", nSeconds);
}

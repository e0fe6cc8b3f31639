// PLST: the application's playlist text with the index of the current entry.
#include <stdlib.h>
#include <string.h>
#include "CommandHandlers.h"
#include "CommandRules.h"
#include "../app/ServerDlg.h"

void HandlePlaylist(CServerDlg& dlg, const CPhoneLink& link)
{
    dlg.LogEvent("Writing playlist to phone\r\n");
    char* pText = NULL;
    int nSize = 0, nIndex = 0;
    dlg.GetActive()->GetPlaylist(&pText, &nSize, &nIndex);

    // Each form leaves in one write, so no part waits for the phone's acknowledgement.
    unsigned char header[19];
    BuildCountReply("PLST", nIndex, header);
    if (!pText)
    {
        // Phones expect the header again and one zero byte when there is no playlist.
        dlg.LogEvent(
            "Couldn't get playlist! Playlist retrieval is only supported for Winamp 2.\r\n");
        memcpy(header + 9, header, 9);
        header[18] = 0;
        WriteToPhone(link, header, sizeof(header));
        return;
    }
    WriteHeadAndBodyToPhone(link, header, 9, pText, nSize);
    free(pText);
    dlg.LogEvent("Finished writing playlist\r\n");
}

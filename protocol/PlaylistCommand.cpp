// PLST: the application's playlist text with the index of the current entry.
#include <stdlib.h>
#include "CommandHandlers.h"
#include "CommandRules.h"
#include "../app/ServerDlg.h"

void HandlePlaylist(CServerDlg& dlg, const CPhoneLink& link)
{
    dlg.LogEvent("Writing playlist to phone\r\n");
    char* pText = NULL;
    int nSize = 0, nIndex = 0;
    dlg.GetActive()->GetPlaylist(&pText, &nSize, &nIndex);

    unsigned char header[10];
    BuildCountReply("PLST", nIndex, header);
    WriteToPhone(link, header, 9);
    if (!pText)
    {
        // Phones expect the header again and one zero byte when there is no playlist.
        dlg.LogEvent(
            "Couldn't get playlist! Playlist retrieval is only supported for Winamp 2.\r\n");
        header[9] = 0;
        WriteToPhone(link, header, 10);
        return;
    }
    WriteAllToPhone(link, pText, nSize);
    free(pText);
    dlg.LogEvent("Finished writing playlist\r\n");
}

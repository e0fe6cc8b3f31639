// CHCK and the status replies.
#include "CommandHandlers.h"
#include "Wire.h"
#include "../app/ServerDlg.h"

void HandleCheck(CServerDlg& dlg, const CPhoneLink& link)
{
    WriteToPhone(link, "Y", 1);
    dlg.LogEvent("Sent ACK to phone\r\n");
}

void HandleVersion(CServerDlg&, const CPhoneLink& link)
{
    unsigned char reply[REPLY_TAG_LENGTH + 2];
    WriteReplyTag("VERS", reply);
    reply[7] = PROTOCOL_VERSION_MAJOR;
    reply[8] = PROTOCOL_VERSION_MINOR;
    WriteToPhone(link, reply, sizeof(reply));
}

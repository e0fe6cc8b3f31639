// quorvel-phone: try the server without a phone.
//   quorvel-phone --tcp 127.0.0.1 VERS CHCK VOLM:128 "PLAY:C:\music\a.mp3"
//   quorvel-phone --com COM4 INFO
// Each command is NAME or NAME:PARAM; replies are printed decoded.
#include <stdio.h>
#include <string.h>
#include <string>
#include "PhoneClient.h"
#include "PhoneCommands.h"
#include "ReplyText.h"

static const DWORD REPLY_TIMEOUT_MS = 15000;

static int Usage()
{
    fprintf(stderr, "usage: quorvel-phone (--tcp HOST[:PORT] | --com COMn) COMMAND[:PARAM]...\n"
                    "  e.g. quorvel-phone --tcp 127.0.0.1 VERS CHCK VOLM:128 INFO\n");
    return 2;
}

static bool ReadUntilZero(CPhoneClient& phone, std::string& text)
{
    std::string byte;
    for (;;)
    {
        if (!phone.Receive(1, byte, REPLY_TIMEOUT_MS))
            return false;
        if (byte[0] == '\0')
            return true;
        text += byte;
    }
}

static bool PrintListing(CPhoneClient& phone)
{
    std::string tag, head;
    if (!phone.Receive(7, tag, REPLY_TIMEOUT_MS))
        return false;
    printf("%s\n", tag.c_str());
    int nDepth = 0;
    for (;;)
    {
        if (!phone.Receive(1, head, REPLY_TIMEOUT_MS))
            return false;
        unsigned nHead = static_cast<unsigned char>(head[0]);
        if (nHead == 0xFF)
            return phone.Receive(1, head, REPLY_TIMEOUT_MS);
        std::string name;
        if (!ReadUntilZero(phone, name))
            return false;
        unsigned nPlace = nHead >> 4, nKind = nHead & 0x0F;
        if (nPlace == 1 || nPlace == 2)
            nDepth++;
        printf("%*s%s%s\n", 2 * nDepth, "", name.c_str(), nKind == 2 ? "" : "\\");
        // A folder whose contents follow goes one level deeper; the last of a level comes back.
        if (nKind == 1)
            continue;
        if (nPlace == 2 || nPlace == 4)
            nDepth--;
    }
}

static bool PrintPlaylist(CPhoneClient& phone)
{
    std::string header, text;
    if (!phone.Receive(9, header, REPLY_TIMEOUT_MS) || !ReadUntilZero(phone, text))
        return false;
    unsigned nIndex =
        static_cast<unsigned char>(header[7]) * 256u + static_cast<unsigned char>(header[8]);
    if (text.compare(0, 7, "PLSTACK") == 0 && text.size() <= 9)
    {
        std::string rest;
        phone.Receive(10 - (text.size() + 1), rest, REPLY_TIMEOUT_MS);
        printf("PLSTACK current entry %u, no playlist from this application\n", nIndex);
        return true;
    }
    printf("PLSTACK current entry %u, %u bytes:\n%s\n", nIndex,
           static_cast<unsigned>(text.size() + 1), text.c_str());
    return true;
}

static bool PrintReply(CPhoneClient& phone, const PhoneCommand& command)
{
    std::string reply;
    switch (command.reply)
    {
    case REPLY_NONE:
        printf("%s sent (no reply)\n", command.pszName);
        return true;
    case REPLY_CHECK:
        if (!phone.Receive(1, reply, REPLY_TIMEOUT_MS))
            return false;
        printf("%s\n", reply == "Y" ? "Y: the link is alive" : HexBytes(reply).c_str());
        return true;
    case REPLY_FIXED:
        if (!phone.Receive(command.nReplyLength, reply, REPLY_TIMEOUT_MS))
            return false;
        printf("%s\n", DescribeFixedReply(reply).c_str());
        return true;
    case REPLY_INFO:
        if (!phone.Receive(18, reply, REPLY_TIMEOUT_MS))
            return false;
        reply += phone.ReceiveUntilQuiet(300, 2000); // the title has no end mark
        printf("%s\n", DescribeStatusReply(reply).c_str());
        return true;
    case REPLY_INF2:
        if (!phone.Receive(18, reply, REPLY_TIMEOUT_MS) || !ReadUntilZero(phone, reply))
            return false;
        printf("%s\n", DescribeStatusReply(reply).c_str());
        return true;
    case REPLY_LISTING:
        return PrintListing(phone);
    case REPLY_PLAYLIST:
        return PrintPlaylist(phone);
    case REPLY_DOWNLOAD:
        reply = phone.ReceiveUntilQuiet(1000, 60000);
        printf("%s and %u bytes of the file\n", reply.substr(0, 7).c_str(),
               reply.size() > 7 ? static_cast<unsigned>(reply.size() - 7) : 0u);
        return true;
    }
    return false;
}

static bool Connect(CPhoneClient& phone, const char* pszHow, const char* pszWhere)
{
    if (strcmp(pszHow, "--com") == 0)
        return phone.OpenComPort(pszWhere);
    std::string host = pszWhere;
    unsigned short nPort = 7654;
    size_t nColon = host.find(':');
    if (nColon != std::string::npos)
    {
        nPort = static_cast<unsigned short>(atoi(host.c_str() + nColon + 1));
        host.erase(nColon);
    }
    return phone.ConnectTcp(host.c_str(), nPort, 3000);
}

int main(int argc, char** argv)
{
    if (argc < 4 || (strcmp(argv[1], "--tcp") != 0 && strcmp(argv[1], "--com") != 0))
        return Usage();
    CPhoneClient phone;
    if (!Connect(phone, argv[1], argv[2]))
    {
        fprintf(stderr, "quorvel-phone: cannot connect to %s\n", argv[2]);
        return 1;
    }
    for (int i = 3; i < argc; i++)
    {
        std::string bytes, error;
        if (!EncodePhoneCommand(argv[i], bytes, error))
        {
            fprintf(stderr, "quorvel-phone: %s\n", error.c_str());
            return 2;
        }
        const PhoneCommand* pCommand = FindPhoneCommand(bytes.substr(0, 4));
        if (!phone.Send(bytes) || !PrintReply(phone, *pCommand))
        {
            fprintf(stderr, "quorvel-phone: no complete reply to %s\n", pCommand->pszName);
            return 1;
        }
    }
    return 0;
}

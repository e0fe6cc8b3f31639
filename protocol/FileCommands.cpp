// PLAY and LADD (in the application that handles the file's type), FINF and DOWN.
#include <stdio.h>
#include <vector>
#include "CommandHandlers.h"
#include "NameParameter.h"
#include "Wire.h"
#include "../app/ServerDlg.h"
#include "../framework/ScopedHandle.h"

static void PlayOrAdd(CServerDlg& dlg, const CPhoneLink& link, bool bAdd)
{
    char szName[NAME_BUFFER_SIZE];
    if (!ReadNameParameter(dlg, link, szName, PLAY_NAME_FAILURES))
        return;
    CPlayerController* pChosen = dlg.ControllerForFile(szName);
    if (pChosen != dlg.GetActive() && dlg.IsStopWhenSwitchingTicked())
        RunStop(dlg, 0);
    dlg.m_pActive = pChosen;
    dlg.EnsureActiveRunning();
    if (bAdd)
    {
        dlg.LogEvent("Adding \"%s\" to playlist\r\n", szName);
        dlg.GetActive()->AddFile(szName);
        return;
    }
    dlg.LogEvent("Playing \"%s\"\r\n", szName);
    dlg.GetActive()->PlayFile(szName);
}

void HandlePlayFile(CServerDlg& dlg, const CPhoneLink& link)
{
    PlayOrAdd(dlg, link, false);
}

void HandleAddFile(CServerDlg& dlg, const CPhoneLink& link)
{
    PlayOrAdd(dlg, link, true);
}

static const DWORD DOWNLOAD_BLOCK_SIZE = 65536;

static HANDLE OpenForReading(const char* pszPath)
{
    return CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
}

// The next block of the file; 0 at its end or when it cannot be read.
static DWORD ReadBlock(HANDLE hFile, std::vector<char>& block)
{
    DWORD nRead = 0;
    if (!ReadFile(hFile, &block[0], static_cast<DWORD>(block.size()), &nRead, NULL))
        return 0;
    return nRead;
}

// The reply has 32 bits for the length; a file of 2 GiB or more is reported as
// -1 (FF FF FF FF), the protocol's "cannot tell".
static int ReportedFileLength(HANDLE hFile)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(hFile, &size) || size.QuadPart > 0x7FFFFFFF)
        return -1;
    return static_cast<int>(size.QuadPart);
}

// Reads the name, opens the line with pszOpening and opens the file; false
// (with the line completed) when either fails.
static bool OpenNamedFile(CServerDlg& dlg, const CPhoneLink& link, const char* pszOpening,
                          CScopedHandle& file)
{
    char szName[NAME_BUFFER_SIZE];
    if (!ReadNameParameter(dlg, link, szName, FILE_NAME_FAILURES))
        return false;
    dlg.LogEvent(pszOpening, szName);
    file.Reset(OpenForReading(szName));
    if (file.IsValid())
        return true;
    dlg.LogEvent("couldn't open file\r\n");
    return false;
}

void HandleFileInfo(CServerDlg& dlg, const CPhoneLink& link)
{
    CScopedHandle file;
    if (!OpenNamedFile(dlg, link, "Returning info about \"%s\": ", file))
        return;
    int nLength = ReportedFileLength(file.Get());
    dlg.LogEvent("length is %d\r\n", nLength);
    unsigned char reply[REPLY_TAG_LENGTH + 4];
    WriteReplyTag("FINF", reply);
    PackBE32(static_cast<uint32_t>(nLength), reply + REPLY_TAG_LENGTH);
    WriteToPhone(link, reply, sizeof(reply));
}

void HandleDownload(CServerDlg& dlg, const CPhoneLink& link)
{
    CScopedHandle file;
    if (!OpenNamedFile(dlg, link, "Uploading \"%s\"... ", file))
        return;
    // The tag goes with the first block, so that block never waits for the phone's
    // acknowledgement of the tag; an empty file sends the tag alone.
    std::vector<char> block(DOWNLOAD_BLOCK_SIZE);
    DWORD nRead = ReadBlock(file.Get(), block);
    bool bWritten = WriteHeadAndBodyToPhone(link, "DOWNACK", REPLY_TAG_LENGTH, &block[0],
                                            static_cast<int>(nRead));
    // One block at a time: the file is never loaded whole. A write that fails means
    // the phone has gone or the link is being stopped, so reading on is pointless.
    while (bWritten && nRead > 0)
    {
        nRead = ReadBlock(file.Get(), block);
        bWritten = WriteAllToPhone(link, &block[0], static_cast<int>(nRead));
    }
    dlg.LogEvent("finished\r\n");
}

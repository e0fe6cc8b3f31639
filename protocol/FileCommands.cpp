// PLAY and LADD (in the application that handles the file's type), FINF and DOWN.
#include <stdio.h>
#include <vector>
#include "CommandHandlers.h"
#include "CommandRules.h"
#include "NameParameter.h"
#include "ResolvedPaths.h"
#include "Wire.h"
#include "../app/ServerDlg.h"
#include "../framework/ScopedHandle.h"
#include "../players/MediaKeysRules.h"

// The media-keys kind hands the name to the shell, which would as well run a
// program, open a URI or look into the file: only an existing file of one of
// the kind's media types goes there.
static bool IsMediaFileForKeys(CServerDlg& dlg, const char* pszName)
{
    char szTypes[PATH_SIZE];
    dlg.CopyExtensions(APP_MEDIA_KEYS, szTypes, sizeof(szTypes));
    return IsMediaFileName(pszName, szTypes) && IsExistingRegularFile(pszName);
}

static void PlayOrAdd(CServerDlg& dlg, const CPhoneLink& link, bool bAdd)
{
    char szName[NAME_BUFFER_SIZE];
    if (!ReadNameParameter(dlg, link, szName, PLAY_NAME_FAILURES))
        return;
    // A device handed to a media application could hang it, or us waiting for it.
    if (IsDeviceNameAsResolved(szName))
    {
        dlg.LogEvent(bAdd ? "Couldn't add \"%s\" to playlist: it names a device, not a file\r\n"
                          : "Couldn't play \"%s\": it names a device, not a file\r\n",
                     szName);
        return;
    }
    // The other link's PLAY or LADD waits: a switch half done by each would leave
    // one kind's controller playing the other's file.
    CMutexLock lock(dlg.m_hSwitchMutex, link.StopEvent());
    if (!lock.IsHeld())
        return;
    int nKind = 0;
    CPlayerController* pChosen = dlg.ControllerForFile(szName, &nKind);
    if (nKind == APP_MEDIA_KEYS && !IsMediaFileForKeys(dlg, szName))
    {
        dlg.LogEvent(bAdd ? "Couldn't add \"%s\" to playlist: it is not a media file\r\n"
                          : "Couldn't play \"%s\": it is not a media file\r\n",
                     szName);
        return;
    }
    if (nKind != dlg.m_nFileApp.load() && dlg.IsStopWhenSwitchingTicked())
        RunStop(dlg, 0);
    dlg.m_nFileApp = nKind;
    dlg.EnsureActiveRunning();
    if (bAdd)
    {
        dlg.LogEvent("Adding \"%s\" to playlist\r\n", szName);
        pChosen->AddFile(szName);
        return;
    }
    dlg.LogEvent("Playing \"%s\"\r\n", szName);
    pChosen->PlayFile(szName);
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

// Should a pipe's name get past the device rule, its server may learn who we
// are but never act as us.
static HANDLE OpenForReading(const char* pszPath)
{
    return CreateFileA(
        pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, NULL);
}

// The next block of the file, at most nMax bytes; 0 at its end or when it cannot be read.
static DWORD ReadBlock(HANDLE hFile, std::vector<char>& block, long long nMax)
{
    DWORD nWant = DownloadReadSize(nMax, static_cast<unsigned>(block.size()));
    DWORD nRead = 0;
    if (nWant == 0 || !ReadFile(hFile, &block[0], nWant, &nRead, NULL))
        return 0;
    return nRead;
}

// The file's length when it was opened: all that DOWN sends, whatever the file
// does meanwhile. -1 when the system cannot tell.
static long long FileLength(HANDLE hFile)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(hFile, &size))
        return -1;
    return size.QuadPart;
}

// The reply has 32 bits for the length; a file of 2 GiB or more is reported as
// -1 (FF FF FF FF), the protocol's "cannot tell".
static int ReportedFileLength(long long nLength)
{
    return nLength > 0x7FFFFFFF ? -1 : static_cast<int>(nLength);
}

// Reads the name, opens the line with pszOpening and opens the file; false
// (with the line completed) when either fails. Devices and pipes count as files
// that cannot be opened: they are never opened (that could block the link), and
// anything else that is not a file on a disk is closed again at once.
static bool OpenNamedFile(CServerDlg& dlg, const CPhoneLink& link, const char* pszOpening,
                          CScopedHandle& file)
{
    char szName[NAME_BUFFER_SIZE];
    if (!ReadNameParameter(dlg, link, szName, FILE_NAME_FAILURES))
        return false;
    dlg.LogEvent(pszOpening, szName);
    if (!IsDeviceNameAsResolved(szName))
        file.Reset(OpenForReading(szName));
    if (file.IsValid() && GetFileType(file.Get()) != FILE_TYPE_DISK)
        file.Reset(INVALID_HANDLE_VALUE);
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
    int nLength = ReportedFileLength(FileLength(file.Get()));
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
    // The phone reads exactly the length FINF reports: a file that grows meanwhile
    // must not send more, or the rest would be taken for replies. Without a
    // length there is nothing the phone could read.
    long long nLeft = FileLength(file.Get());
    if (nLeft < 0)
    {
        dlg.LogEvent("couldn't open file\r\n");
        return;
    }
    // The tag goes with the first block, so that block never waits for the phone's
    // acknowledgement of the tag; an empty file sends the tag alone.
    std::vector<char> block(DOWNLOAD_BLOCK_SIZE);
    DWORD nRead = ReadBlock(file.Get(), block, nLeft);
    bool bWritten = WriteHeadAndBodyToPhone(link, "DOWNACK", REPLY_TAG_LENGTH, &block[0],
                                            static_cast<int>(nRead));
    // One block at a time: the file is never loaded whole. A write that fails means
    // the phone has gone or the link is being stopped, so reading on is pointless.
    while (bWritten && nRead > 0)
    {
        nLeft -= nRead;
        nRead = ReadBlock(file.Get(), block, nLeft);
        bWritten = WriteAllToPhone(link, &block[0], static_cast<int>(nRead));
    }
    dlg.LogEvent("finished\r\n");
}

// The operations on files a client names: playing or adding one in the
// application that handles its type, its length, and its bytes.
#include "ServerCore.h"
#include <vector>
#include "FileRules.h"
#include "LogText.h"
#include "ResolvedPaths.h"
#include "../framework/ScopedHandle.h"
#include "../framework/WorkerThread.h"
#include "NameRules.h"

void CServerCore::PlayFile(const char* pszName)
{
    PlayOrAdd(pszName, false);
}

void CServerCore::Enqueue(const char* pszName)
{
    PlayOrAdd(pszName, true);
}

// The media-keys kind hands the name to the shell, which would as well run a
// program, open a URI or look into the file: only an existing file of one of
// the kind's media types goes there.
bool CServerCore::IsMediaFileForKeys(const char* pszName)
{
    return IsMediaFileName(pszName, Extensions(APP_MEDIA_KEYS).c_str()) &&
           IsExistingRegularFile(pszName);
}

void CServerCore::PlayOrAdd(const char* pszName, bool bAdd)
{
    // A device handed to a media application could hang it, or us waiting for it.
    if (IsDeviceNameAsResolved(pszName))
    {
        LogEvent(bAdd ? "Couldn't add \"%s\" to playlist: it names a device, not a file\r\n"
                      : "Couldn't play \"%s\": it names a device, not a file\r\n",
                 LogSafeName(pszName).c_str());
        return;
    }
    // The other client's PLAY or LADD waits: a switch half done by each would
    // leave one kind's controller playing the other's file.
    CMutexLock lock(m_hSwitchMutex, CWorkerThread::CurrentStopEvent());
    if (!lock.IsHeld())
        return;
    int nKind = ChooseKindForFile(pszName);
    if (nKind == APP_MEDIA_KEYS && !IsMediaFileForKeys(pszName))
    {
        LogEvent(bAdd ? "Couldn't add \"%s\" to playlist: it is not a media file\r\n"
                      : "Couldn't play \"%s\": it is not a media file\r\n",
                 LogSafeName(pszName).c_str());
        return;
    }
    bool bStopOld = false;
    {
        std::lock_guard<std::mutex> settings(m_settingsLock);
        bStopOld = m_bStopWhenSwitching;
    }
    if (nKind != m_nActiveKind.load() && bStopOld)
        Stop(0);
    m_nActiveKind = nKind;
    EnsureActiveRunning();
    CPlayerController* pChosen = m_pControllers[nKind];
    if (bAdd)
    {
        LogEvent("Adding \"%s\" to playlist\r\n", LogSafeName(pszName).c_str());
        pChosen->AddFile(pszName);
        return;
    }
    LogEvent("Playing \"%s\"\r\n", LogSafeName(pszName).c_str());
    pChosen->PlayFile(pszName);
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

// Opens the line with pszOpening and opens the file; INVALID_HANDLE_VALUE (with
// the line completed) when it can't. Devices and pipes count as files that cannot
// be opened: they are never opened (that could block the client's link), and
// anything else that is not a file on a disk is closed again at once.
HANDLE CServerCore::OpenNamedFile(const char* pszName, const char* pszOpening)
{
    LogEvent(pszOpening, LogSafeName(pszName).c_str());
    CScopedHandle file;
    if (!IsDeviceNameAsResolved(pszName))
        file.Reset(OpenForReading(pszName));
    if (file.IsValid() && GetFileType(file.Get()) != FILE_TYPE_DISK)
        file.Reset(INVALID_HANDLE_VALUE);
    if (file.IsValid())
    {
        HANDLE hFile = file.Get();
        file.Release();
        return hFile;
    }
    LogEvent("couldn't open file\r\n");
    return INVALID_HANDLE_VALUE;
}

bool CServerCore::FileInfo(const char* pszName, int* pnLength)
{
    CScopedHandle file(OpenNamedFile(pszName, "Returning info about \"%s\": "));
    if (!file.IsValid())
        return false;
    *pnLength = ReportedFileLength(FileLength(file.Get()));
    LogEvent("length is %d\r\n", *pnLength);
    return true;
}

bool CServerCore::Download(const char* pszName, CDownloadSink& sink)
{
    CScopedHandle file(OpenNamedFile(pszName, "Uploading \"%s\"... "));
    if (!file.IsValid())
        return false;
    // The client reads exactly the length FINF reports: a file that grows
    // meanwhile must not send more, or the rest would be taken for replies.
    // Without a length there is nothing the client could read.
    long long nLeft = FileLength(file.Get());
    if (nLeft < 0)
    {
        LogEvent("couldn't open file\r\n");
        return false;
    }
    // The first block goes with whatever the sink puts before it; an empty file
    // sends that alone.
    std::vector<char> block(DOWNLOAD_BLOCK_SIZE);
    DWORD nRead = ReadBlock(file.Get(), block, nLeft);
    bool bSent = sink.Send(&block[0], static_cast<int>(nRead));
    // One block at a time: the file is never loaded whole. A send that fails means
    // the client has gone or is being stopped, so reading on is pointless.
    while (bSent && nRead > 0)
    {
        nLeft -= nRead;
        nRead = ReadBlock(file.Get(), block, nLeft);
        bSent = nRead == 0 || sink.Send(&block[0], static_cast<int>(nRead));
    }
    LogEvent("finished\r\n");
    return true;
}

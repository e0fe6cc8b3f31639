#include "Winamp2Controller.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "AppStart.h"
#include "CommandLines.h"
#include "WinampRules.h"
#include "../framework/WorkerThread.h"

// Winamp's published message numbers.
enum
{
    IPC_GETVERSION = 0,
    IPC_PLAYFILE = 100,
    IPC_DELETE = 101,
    IPC_STARTPLAY = 102,
    IPC_ISPLAYING = 104,
    IPC_GETOUTPUTTIME = 105,
    IPC_JUMPTOTIME = 106,
    IPC_WRITEPLAYLIST = 120,
    IPC_SETPLAYLISTPOS = 121,
    IPC_SETVOLUME = 122,
    IPC_GETLISTLENGTH = 124,
    IPC_GETINFO = 126,
    IPC_GET_SHUFFLE = 250,
    IPC_GET_REPEAT = 251,
    IPC_SET_SHUFFLE = 252,
    IPC_SET_REPEAT = 253
};

enum
{
    WINAMP_BUTTON1 = 40044,
    WINAMP_BUTTON2 = 40045,
    WINAMP_BUTTON3 = 40046,
    WINAMP_BUTTON4 = 40047,
    WINAMP_BUTTON5 = 40048,
    WINAMP_FFWD5S = 40060,
    WINAMP_REW5S = 40061,
    WINAMP_BUTTON4_SHIFT = 40147,
    WINAMP_BUTTON4_CTRL = 40157
};

static const int LENGTH_WAIT_ROUNDS = 100;
static const DWORD LENGTH_WAIT_STEP_MS = 50;

CWinamp2Controller::CWinamp2Controller(CControllerLog& log)
    : m_window(log, "Winamp 2"), m_nVersion(0)
{
    m_szExePath[0] = '\0';
}

// A player that does not answer answers 0, as a closed one's missing window did.
LRESULT CWinamp2Controller::SendUser(WPARAM wParam, LPARAM lParam)
{
    LRESULT nResult = 0;
    m_window.Send(WM_USER, wParam, lParam, &nResult);
    return nResult;
}

void CWinamp2Controller::PressButton(WPARAM nCommand)
{
    m_window.Send(WM_COMMAND, nCommand, 0);
}

int CWinamp2Controller::EnsureRunning(const char* pszAppPath, int bStart)
{
    // A path that does not fit is dropped whole: a cut one could start another program.
    KeepApplicationPath(pszAppPath, m_szExePath, sizeof(m_szExePath));
    if (FindOrStartPlayer("Winamp v1.x", m_szExePath, bStart))
        return 1;
    // A worker being stopped starts nothing more.
    if (CWorkerThread::CurrentThreadStopRequested())
        return 0;
    return FindOrStartPlayer("STUDIO", m_szExePath, bStart);
}

int CWinamp2Controller::FindOrStartPlayer(const char* pszWindowClass, const char* pszPath,
                                          int bStart)
{
    HWND hWnd = FindWindowA(pszWindowClass, NULL);
    if (!hWnd && bStart)
        hWnd = StartAndFindWindow(pszPath, pszWindowClass);
    m_window.Attach(hWnd);
    if (!hWnd)
        return 0;
    QueryVersion();
    return 1;
}

int CWinamp2Controller::QueryVersion()
{
    m_nVersion = static_cast<int>(SendUser(0, IPC_GETVERSION));
    return m_nVersion;
}

void CWinamp2Controller::GetStatus(PlayState* pState, int* pLength, int* pPosition, int* pShuffle,
                                   int* pRepeat, char* pszTitle, unsigned nTitleSize, int bWait)
{
    *pState = static_cast<PlayState>(SendUser(0, IPC_ISPLAYING) & 0xFF);

    // Waiting: up to 100 rounds of ask-then-sleep until Winamp knows the length;
    // a worker asked to stop gives up at once.
    int nLength = -1;
    int nRounds = bWait ? LENGTH_WAIT_ROUNDS : 1;
    for (int nRound = 0; nRound < nRounds; nRound++)
    {
        nLength = static_cast<int>(SendUser(1, IPC_GETOUTPUTTIME));
        if (!bWait)
            break;
        if (!CWorkerThread::PauseCurrentThread(LENGTH_WAIT_STEP_MS))
            break;
        if (nLength != -1)
            break;
    }
    *pLength = WinampTrackLengthSeconds(nLength, m_nVersion);
    *pPosition = static_cast<int>(SendUser(0, IPC_GETOUTPUTTIME)) / 1000;
    *pShuffle = static_cast<int>(SendUser(0, IPC_GET_SHUFFLE) & 0xFF);
    *pRepeat = static_cast<int>(SendUser(0, IPC_GET_REPEAT) & 0xFF);

    if (nTitleSize == 0)
        return;
    memset(pszTitle, 0, nTitleSize);
    m_window.Send(WM_GETTEXT, nTitleSize, reinterpret_cast<LPARAM>(pszTitle));
    pszTitle[nTitleSize - 1] = '\0';
    CutWinampTitle(pszTitle);
}

void CWinamp2Controller::SendFile(const char* pszPath)
{
    COPYDATASTRUCT record;
    record.dwData = IPC_PLAYFILE;
    record.cbData = static_cast<DWORD>(strlen(pszPath) + 1);
    record.lpData = const_cast<char*>(pszPath);
    m_window.Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
}

void CWinamp2Controller::PlayFile(const char* pszPath)
{
    SendUser(0, IPC_DELETE);
    SendFile(pszPath);
    SendUser(0, IPC_STARTPLAY);
}

void CWinamp2Controller::AddFile(const char* pszPath)
{
    SendFile(pszPath);
    SendUser(0, IPC_WRITEPLAYLIST);
}

void CWinamp2Controller::SetVolume(int nVolume)
{
    SendUser(static_cast<WPARAM>(nVolume), IPC_SETVOLUME);
}

// Winamp answers its set-volume message with the volume when the new one is -666.
int CWinamp2Controller::GetVolume()
{
    // A closed or hung Winamp has no volume to tell, rather than 0.
    LRESULT nVolume = 0;
    if (!m_window.Send(WM_USER, static_cast<WPARAM>(-666), IPC_SETVOLUME, &nVolume))
        return -1;
    return nVolume >= 0 && nVolume <= 255 ? static_cast<int>(nVolume) : -1;
}

void CWinamp2Controller::Play()
{
    PressButton(WINAMP_BUTTON2);
}

void CWinamp2Controller::Pause()
{
    PressButton(WINAMP_BUTTON3);
}

void CWinamp2Controller::Stop(int nMode)
{
    if (nMode == 2)
        PressButton(WINAMP_BUTTON4_CTRL);
    else if (nMode == 1 && m_nVersion < WINAMP_VERSION_3000)
        PressButton(WINAMP_BUTTON4_SHIFT);
    else
        PressButton(WINAMP_BUTTON4);
}

void CWinamp2Controller::FastForward()
{
    PressButton(WINAMP_FFWD5S);
}

void CWinamp2Controller::Rewind()
{
    PressButton(WINAMP_REW5S);
}

void CWinamp2Controller::NextTrack()
{
    PressButton(WINAMP_BUTTON5);
}

void CWinamp2Controller::PreviousTrack()
{
    PressButton(WINAMP_BUTTON1);
}

void CWinamp2Controller::SetShuffle(int nOn)
{
    SendUser(static_cast<WPARAM>(nOn), IPC_SET_SHUFFLE);
}

void CWinamp2Controller::SetRepeat(int nOn)
{
    SendUser(static_cast<WPARAM>(nOn), IPC_SET_REPEAT);
}

void CWinamp2Controller::GetPlaylist(char** ppText, int* pSize, int* pIndex)
{
    *pIndex = static_cast<int>(SendUser(0, IPC_WRITEPLAYLIST));
    *ppText = NULL;
    *pSize = 0;

    char szPlaylist[MAX_PATH];
    if (!BuildWinampPlaylistPath(m_szExePath, szPlaylist, sizeof(szPlaylist)))
        return;
    FILE* pFile = fopen(szPlaylist, "rb");
    if (!pFile)
        return;
    long nLength = -1;
    if (fseek(pFile, 0, SEEK_END) == 0)
        nLength = ftell(pFile);
    fseek(pFile, 0, SEEK_SET);
    // The phone's playlist is one block of text; a file beyond 2 GiB is not one.
    char* pText =
        nLength >= 0 && nLength < 0x7FFFFFFF ? static_cast<char*>(malloc(nLength + 1)) : NULL;
    if (pText)
    {
        size_t nRead = fread(pText, 1, static_cast<size_t>(nLength), pFile);
        pText[nRead] = '\0';
        *ppText = pText;
        *pSize = static_cast<int>(nRead) + 1;
    }
    fclose(pFile);
}

void CWinamp2Controller::SelectPlaylistItem(int nIndex)
{
    SendUser(static_cast<WPARAM>(nIndex), IPC_SETPLAYLISTPOS);
    PressButton(WINAMP_BUTTON2);
}

void CWinamp2Controller::ClearPlaylist()
{
    SendUser(0, IPC_DELETE);
}

void CWinamp2Controller::GetDetailedInfo(int* pBitRate, int* pSampleRate, int* pChannels)
{
    *pSampleRate = static_cast<int>(SendUser(0, IPC_GETINFO));
    *pBitRate = static_cast<int>(SendUser(1, IPC_GETINFO));
    *pChannels = static_cast<int>(SendUser(2, IPC_GETINFO));
}

void CWinamp2Controller::Seek(int nSeconds)
{
    SendUser(static_cast<WPARAM>(WinampSeekMilliseconds(nSeconds)), IPC_JUMPTOTIME);
}

void CWinamp2Controller::GetPlaylistLength(int* pCount)
{
    *pCount = static_cast<int>(SendUser(0, IPC_GETLISTLENGTH));
}

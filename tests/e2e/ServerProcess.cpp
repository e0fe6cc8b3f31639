#include "ServerProcess.h"
#include <stdio.h>

static const DWORD START_TIMEOUT_MS = 60000;

std::string TestBinDir()
{
    char szPath[MAX_PATH];
    DWORD nLength = GetModuleFileNameA(NULL, szPath, sizeof(szPath));
    std::string path(szPath, nLength);
    return path.substr(0, path.find_last_of('\\'));
}

CTempDir::CTempDir()
{
    static int s_nCounter = 0;
    char szTemp[MAX_PATH];
    GetTempPathA(sizeof(szTemp), szTemp);
    char szName[64];
    snprintf(szName, sizeof(szName), "qv-%lu-%lu-%d", GetCurrentProcessId(), GetTickCount(),
             ++s_nCounter);
    m_path = std::string(szTemp) + szName;
    CreateDirectoryA(m_path.c_str(), NULL);
}

CTempDir::~CTempDir()
{
    RemoveTree(m_path);
}

void CTempDir::WriteFile(const std::string& name, const std::string& contents) const
{
    WriteBinaryFile(File(name), contents);
}

std::string CTempDir::ReadFile(const std::string& name) const
{
    std::string contents;
    ReadBinaryFile(File(name), contents);
    return contents;
}

bool CTempDir::Exists(const std::string& name) const
{
    return GetFileAttributesA(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((path + "\\*").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE)
    {
        do
        {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(hFind, &found));
        FindClose(hFind);
    }
    RemoveDirectoryA(path.c_str());
}

void WriteBinaryFile(const std::string& path, const std::string& contents)
{
    FILE* pFile = fopen(path.c_str(), "wb");
    if (!pFile)
        return;
    fwrite(contents.data(), 1, contents.size(), pFile);
    fclose(pFile);
}

bool ReadBinaryFile(const std::string& path, std::string& contents)
{
    contents.clear();
    FILE* pFile = fopen(path.c_str(), "rb");
    if (!pFile)
        return false;
    char buffer[4096];
    size_t nRead;
    while ((nRead = fread(buffer, 1, sizeof(buffer), pFile)) > 0)
        contents.append(buffer, nRead);
    fclose(pFile);
    return true;
}

CServerProcess::CServerProcess() : m_hWnd(NULL)
{
    ZeroMemory(&m_processInfo, sizeof(m_processInfo));
}

CServerProcess::~CServerProcess()
{
    Kill();
}

bool CServerProcess::Start(const std::string& workDir)
{
    std::string exe = TestBinDir() + "\\QuorvelServer.exe";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessA(exe.c_str(), NULL, NULL, NULL, FALSE, 0, NULL, workDir.c_str(), &startup,
                        &m_processInfo))
        return false;
    DWORD nStart = GetTickCount();
    while (GetTickCount() - nStart < START_TIMEOUT_MS)
    {
        // The dialog shows itself once its initialisation (settings, links) is done.
        m_hWnd = FindServerWindow();
        if (m_hWnd && IsWindowVisible(m_hWnd))
            return true;
        if (!IsRunning())
            return false;
        Sleep(20);
    }
    return false;
}

struct WindowSearch
{
    DWORD nProcessId;
    HWND hFound;
};

static BOOL CALLBACK MatchServerWindow(HWND hWnd, LPARAM lParam)
{
    WindowSearch* pSearch = reinterpret_cast<WindowSearch*>(lParam);
    DWORD nProcessId = 0;
    GetWindowThreadProcessId(hWnd, &nProcessId);
    char szTitle[64] = "";
    char szClass[64] = "";
    GetWindowTextA(hWnd, szTitle, sizeof(szTitle));
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (nProcessId != pSearch->nProcessId || strcmp(szTitle, "Quorvel") != 0 ||
        strcmp(szClass, "#32770") != 0)
        return TRUE;
    pSearch->hFound = hWnd;
    return FALSE;
}

HWND CServerProcess::FindServerWindow() const
{
    WindowSearch search = {m_processInfo.dwProcessId, NULL};
    EnumWindows(MatchServerWindow, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

bool CServerProcess::IsRunning() const
{
    return m_processInfo.hProcess && WaitForSingleObject(m_processInfo.hProcess, 0) == WAIT_TIMEOUT;
}

bool CServerProcess::WaitForExit(DWORD nTimeoutMs, DWORD* pExitCode)
{
    if (!m_processInfo.hProcess ||
        WaitForSingleObject(m_processInfo.hProcess, nTimeoutMs) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(m_processInfo.hProcess, pExitCode) != FALSE;
}

void CServerProcess::Kill()
{
    if (!m_processInfo.hProcess)
        return;
    if (IsRunning())
    {
        TerminateProcess(m_processInfo.hProcess, 99);
        WaitForSingleObject(m_processInfo.hProcess, 10000);
    }
    CloseHandle(m_processInfo.hProcess);
    CloseHandle(m_processInfo.hThread);
    ZeroMemory(&m_processInfo, sizeof(m_processInfo));
    m_hWnd = NULL;
}

std::string CServerProcess::ControlText(int nId) const
{
    HWND hControl = Control(nId);
    DWORD_PTR nLength = 0;
    if (!SendMessageTimeoutA(hControl, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &nLength))
        return std::string();
    std::string text(nLength + 1, '\0');
    DWORD_PTR nCopied = 0;
    SendMessageTimeoutA(hControl, WM_GETTEXT, nLength + 1, reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_NORMAL, 5000, &nCopied);
    text.resize(nCopied);
    return text;
}

void CServerProcess::SetControlText(int nId, const std::string& text) const
{
    SendMessageA(Control(nId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool CServerProcess::IsChecked(int nId) const
{
    DWORD_PTR nState = 0;
    SendMessageTimeoutA(Control(nId), BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &nState);
    return nState == BST_CHECKED;
}

void CServerProcess::Click(int nId) const
{
    // WM_COMMAND as the button sends it, after setting a check box's new state.
    HWND hButton = Control(nId);
    LONG nStyle = GetWindowLongA(hButton, GWL_STYLE) & BS_TYPEMASK;
    if (nStyle == BS_AUTOCHECKBOX)
        SendMessageA(hButton, BM_SETCHECK, IsChecked(nId) ? BST_UNCHECKED : BST_CHECKED, 0);
    SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(hButton));
}

std::string CServerProcess::Log() const
{
    return ControlText(1005);
}

std::string CServerProcess::LogAfterBanner() const
{
    std::string log = Log();
    size_t nFirst = log.find("\r\n");
    size_t nSecond = nFirst == std::string::npos ? nFirst : log.find("\r\n", nFirst + 2);
    return nSecond == std::string::npos ? std::string() : log.substr(nSecond + 2);
}

bool CServerProcess::WaitForLog(const std::string& text, DWORD nTimeoutMs) const
{
    DWORD nStart = GetTickCount();
    do
    {
        if (LogAfterBanner().find(text) != std::string::npos)
            return true;
        Sleep(20);
    } while (GetTickCount() - nStart < nTimeoutMs);
    return false;
}

bool CServerProcess::WaitForLogToBe(const std::string& text, DWORD nTimeoutMs) const
{
    DWORD nStart = GetTickCount();
    do
    {
        if (LogAfterBanner() == text)
            return true;
        Sleep(20);
    } while (GetTickCount() - nStart < nTimeoutMs);
    return false;
}

bool CServerProcess::IsLastLogLineInView() const
{
    HWND hLog = Control(1005);
    int nLines = static_cast<int>(SendMessageA(hLog, EM_GETLINECOUNT, 0, 0));
    // The last line is the empty one after the final line end.
    int nStart = static_cast<int>(SendMessageA(hLog, EM_LINEINDEX, nLines - 2, 0));
    LRESULT nPosition = SendMessageA(hLog, EM_POSFROMCHAR, nStart, 0);
    RECT client;
    GetClientRect(hLog, &client);
    int nY = static_cast<short>(HIWORD(nPosition));
    return nPosition != -1 && nY >= 0 && nY < client.bottom;
}

unsigned long CServerProcess::CpuTimeMs() const
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(m_processInfo.hProcess, &created, &exited, &kernel, &user))
        return 0;
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return static_cast<unsigned long>((k.QuadPart + u.QuadPart) / 10000);
}

int CountOccurrences(const std::string& haystack, const std::string& needle)
{
    int nCount = 0;
    for (size_t nAt = haystack.find(needle); nAt != std::string::npos;
         nAt = haystack.find(needle, nAt + needle.size()))
        nCount++;
    return nCount;
}

#include "ServerProcess.h"
#include <shellapi.h>
#include <stdio.h>
#include <string.h>

static const DWORD START_TIMEOUT_MS = WAIT_LIMIT_MS;

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

// The calling process's environment with the "NAME=value" entries of extra
// added, each replacing a variable of the same name.
static std::string EnvironmentWith(const std::vector<std::string>& extra)
{
    std::string block;
    char* pEnvironment = GetEnvironmentStringsA();
    for (const char* p = pEnvironment; *p; p += strlen(p) + 1)
    {
        std::string entry = p;
        bool bReplaced = false;
        for (const std::string& variable : extra)
            bReplaced = bReplaced || _strnicmp(p, variable.c_str(), variable.find('=') + 1) == 0;
        if (!bReplaced)
            block.append(entry.c_str(), entry.size() + 1);
    }
    FreeEnvironmentStringsA(pEnvironment);
    for (const std::string& variable : extra)
        block.append(variable.c_str(), variable.size() + 1);
    block.push_back('\0');
    return block;
}

bool CServerProcess::Launch(const std::string& workDir, const std::string& exePath,
                            const std::vector<std::string>& environmentExtra)
{
    return CreateServerProcess(workDir, exePath, environmentExtra, NULL);
}

bool CServerProcess::CreateServerProcess(const std::string& workDir, const std::string& exePath,
                                         const std::vector<std::string>& environmentExtra,
                                         HANDLE hToken)
{
    std::string exe = exePath.empty() ? TestBinDir() + "\\QuorvelServer.exe" : exePath;
    std::string environment = environmentExtra.empty() ? "" : EnvironmentWith(environmentExtra);
    char* pEnvironment = environment.empty() ? NULL : &environment[0];
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (hToken)
        return CreateProcessAsUserA(hToken, exe.c_str(), NULL, NULL, NULL, FALSE, 0, pEnvironment,
                                    workDir.c_str(), &startup, &m_processInfo) != FALSE;
    return CreateProcessA(exe.c_str(), NULL, NULL, NULL, FALSE, 0, pEnvironment, workDir.c_str(),
                          &startup, &m_processInfo) != FALSE;
}

bool CServerProcess::Start(const std::string& workDir)
{
    return Launch(workDir) && WaitForMainWindow();
}

bool CServerProcess::Start(const std::string& workDir, const std::string& exe)
{
    return Launch(workDir, exe) && WaitForMainWindow();
}

bool CServerProcess::StartProgram(const std::string& workDir, const std::string& exeName,
                                  HANDLE hToken)
{
    return CreateServerProcess(workDir, TestBinDir() + "\\" + exeName, std::vector<std::string>(),
                               hToken) &&
           WaitForMainWindow();
}

bool CServerProcess::WaitForMainWindow()
{
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
    const char* pszCaption;
    HWND hFound;
};

static BOOL CALLBACK MatchDialog(HWND hWnd, LPARAM lParam)
{
    WindowSearch* pSearch = reinterpret_cast<WindowSearch*>(lParam);
    DWORD nProcessId = 0;
    GetWindowThreadProcessId(hWnd, &nProcessId);
    char szTitle[64] = "";
    char szClass[64] = "";
    GetWindowTextA(hWnd, szTitle, sizeof(szTitle));
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (nProcessId != pSearch->nProcessId || strcmp(szTitle, pSearch->pszCaption) != 0 ||
        strcmp(szClass, "#32770") != 0)
        return TRUE;
    pSearch->hFound = hWnd;
    return FALSE;
}

static HWND FindDialogOf(DWORD nProcessId, const char* pszCaption)
{
    WindowSearch search = {nProcessId, pszCaption, NULL};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

HWND CServerProcess::FindServerWindow() const
{
    return FindDialogOf(m_processInfo.dwProcessId, "Quorvel");
}

HWND CServerProcess::WaitForDialog(const char* pszCaption, bool bVisible, DWORD nTimeoutMs) const
{
    DWORD nStart = GetTickCount();
    do
    {
        HWND hFound = FindDialogOf(m_processInfo.dwProcessId, pszCaption);
        if (hFound && (!bVisible || IsWindowVisible(hFound)))
            return hFound;
        if (!IsRunning())
            return NULL;
        Sleep(20);
    } while (GetTickCount() - nStart < nTimeoutMs);
    return NULL;
}

bool CServerProcess::AttachMainWindow(DWORD nTimeoutMs)
{
    DWORD nStart = GetTickCount();
    do
    {
        // The list 1018 has its selection once the settings are loaded.
        m_hWnd = FindServerWindow();
        if (m_hWnd && SendMessageA(Control(1018), CB_GETCURSEL, 0, 0) >= 0)
            return true;
        if (!IsRunning())
            return false;
        Sleep(20);
    } while (GetTickCount() - nStart < nTimeoutMs);
    return false;
}

bool CServerProcess::HasTrayIcon(HWND hOwner)
{
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = hOwner;
    probe.uID = 100;
    probe.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
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
    return WindowText(Control(nId));
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
    return WaitUntil([&] { return LogAfterBanner().find(text) != std::string::npos; }, nTimeoutMs);
}

bool CServerProcess::WaitForLogToBe(const std::string& text, DWORD nTimeoutMs) const
{
    return WaitUntil([&] { return LogAfterBanner() == text; }, nTimeoutMs);
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

std::string WindowText(HWND hWnd)
{
    DWORD_PTR nLength = 0;
    if (!SendMessageTimeoutA(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &nLength))
        return std::string();
    std::string text(nLength + 1, '\0');
    DWORD_PTR nCopied = 0;
    SendMessageTimeoutA(hWnd, WM_GETTEXT, nLength + 1, reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_NORMAL, 5000, &nCopied);
    text.resize(nCopied);
    return text;
}

std::string DialogItemText(HWND hDlg, int nId)
{
    return WindowText(GetDlgItem(hDlg, nId));
}

bool WaitForDialogItemText(HWND hDlg, int nId, const std::string& text, DWORD nTimeoutMs)
{
    return WaitUntil([&] { return DialogItemText(hDlg, nId) == text; }, nTimeoutMs);
}

void PressButton(HWND hDlg, int nId)
{
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nId)));
}

void PostPressButton(HWND hDlg, int nId)
{
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nId)));
}

bool WaitUntil(const std::function<bool()>& condition, DWORD nTimeoutMs)
{
    DWORD nStart = GetTickCount();
    do
    {
        if (condition())
            return true;
        Sleep(20);
    } while (GetTickCount() - nStart < nTimeoutMs);
    return false;
}

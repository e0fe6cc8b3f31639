#include "FakePlayer.h"
#include <algorithm>

CFakePlayer::CFakePlayer(const CTempDir& dir, const char* pszFolder, const char* pszName,
                         const char* pszWindowClass)
    : m_folder(dir.File(pszFolder)), m_name(pszName), m_exePath(m_folder + "\\" + pszName + ".exe"),
      m_windowClass(pszWindowClass)
{
}

CFakePlayer::~CFakePlayer()
{
    EndWindowsOfClass(m_windowClass.c_str());
}

void CFakePlayer::Prepare(const std::string& configLines)
{
    CreateDirectoryA(m_folder.c_str(), NULL);
    CopyFileA((TestBinDir() + "\\" + m_name + ".exe").c_str(), m_exePath.c_str(), FALSE);
    WriteBinaryFile(m_folder + "\\" + m_name + ".cfg", configLines);
}

bool CFakePlayer::Start()
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(m_exePath.c_str(), NULL, NULL, NULL, FALSE, 0, NULL, m_folder.c_str(),
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int i = 0; i < 500 && !IsRunning(); i++)
        Sleep(20);
    return IsRunning();
}

bool CFakePlayer::IsRunning() const
{
    return FindWindowA(m_windowClass.c_str(), NULL) != NULL;
}

std::vector<std::string> CFakePlayer::Messages() const
{
    std::string text;
    ReadBinaryFile(m_folder + "\\messages.log", text);
    std::vector<std::string> lines;
    size_t nStart = 0;
    for (size_t nEnd = text.find('\n'); nEnd != std::string::npos; nEnd = text.find('\n', nStart))
    {
        lines.push_back(text.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return lines;
}

// The fake opens the record for each line it adds, and a delete meanwhile fails
// (a sharing violation) and would leave the old lines in: it is tried again.
void CFakePlayer::ForgetMessages() const
{
    std::string path = m_folder + "\\messages.log";
    WaitUntil([&] { return DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; });
}

bool CFakePlayer::WaitForMessage(const std::string& line, DWORD nTimeoutMs) const
{
    return WaitUntil(
        [&]
        {
            std::vector<std::string> lines = Messages();
            return std::find(lines.begin(), lines.end(), line) != lines.end();
        },
        nTimeoutMs);
}

// Under Wine a window may outlive its ended process for a moment, longer on a
// busy machine: the next test's server must never find the last test's window,
// so this returns only once no window of the class is left.
void CFakePlayer::EndWindowsOfClass(const char* pszClass)
{
    WaitUntil(
        [&]
        {
            HWND hWnd = FindWindowA(pszClass, NULL);
            if (!hWnd)
                return true;
            DWORD nProcessId = 0;
            GetWindowThreadProcessId(hWnd, &nProcessId);
            HANDLE hProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, nProcessId);
            if (hProcess)
            {
                TerminateProcess(hProcess, 0);
                WaitForSingleObject(hProcess, 5000);
                CloseHandle(hProcess);
            }
            return FindWindowA(pszClass, NULL) == NULL;
        },
        20000);
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

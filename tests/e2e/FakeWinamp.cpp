#include "FakeWinamp.h"

CFakeWinamp::CFakeWinamp(const CTempDir& dir)
    : m_folder(dir.File("winamp")), m_exePath(m_folder + "\\FakeWinamp2.exe"),
      m_windowClass("Winamp v1.x")
{
}

CFakeWinamp::~CFakeWinamp()
{
    EndAll();
}

void CFakeWinamp::Prepare(const std::string& configLines)
{
    CreateDirectoryA(m_folder.c_str(), NULL);
    CopyFileA((TestBinDir() + "\\FakeWinamp2.exe").c_str(), m_exePath.c_str(), FALSE);
    WriteBinaryFile(m_folder + "\\FakeWinamp2.cfg", configLines);
    if (configLines.find("class=STUDIO") != std::string::npos)
        m_windowClass = "STUDIO";
}

bool CFakeWinamp::Start()
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

bool CFakeWinamp::IsRunning() const
{
    return FindWindowA(m_windowClass.c_str(), NULL) != NULL;
}

std::vector<std::string> CFakeWinamp::Messages() const
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

void CFakeWinamp::ForgetMessages() const
{
    DeleteFileA((m_folder + "\\messages.log").c_str());
}

static void EndWindowsOfClass(const char* pszClass)
{
    for (HWND hWnd = FindWindowA(pszClass, NULL); hWnd; hWnd = FindWindowA(pszClass, NULL))
    {
        DWORD nProcessId = 0;
        GetWindowThreadProcessId(hWnd, &nProcessId);
        HANDLE hProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, nProcessId);
        if (!hProcess)
            return;
        TerminateProcess(hProcess, 0);
        WaitForSingleObject(hProcess, 5000);
        CloseHandle(hProcess);
    }
}

void CFakeWinamp::EndAll()
{
    EndWindowsOfClass("Winamp v1.x");
    EndWindowsOfClass("STUDIO");
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

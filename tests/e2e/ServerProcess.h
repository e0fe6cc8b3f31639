// Runs the real QuorvelServer.exe in a working directory of its own and reads
// its window: the event log (control 1005) and the other controls.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

// How long the tests wait for anything the server or a fake does: generous, so
// a busy machine does not fail them; a condition that holds ends the wait at once.
const DWORD WAIT_LIMIT_MS = 60000;

// The folder of the running test program; the server and the fakes are built beside it.
std::string TestBinDir();

// A fresh folder under the temporary directory, removed with everything in it.
class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }
    void WriteFile(const std::string& name, const std::string& contents) const;
    std::string ReadFile(const std::string& name) const;
    bool Exists(const std::string& name) const;

private:
    std::string m_path;
};

void RemoveTree(const std::string& path);
void WriteBinaryFile(const std::string& path, const std::string& contents);
bool ReadBinaryFile(const std::string& path, std::string& contents);

class CServerProcess
{
public:
    CServerProcess();
    ~CServerProcess();

    // Starts the server in pszWorkDir and waits for its window and welcome banner.
    bool Start(const std::string& workDir);
    // The same with another copy of the server, such as an installed one.
    bool Start(const std::string& workDir, const std::string& exe);
    // The same with another build of the server from the test's folder, run
    // under hToken when one is given.
    bool StartProgram(const std::string& workDir, const std::string& exeName, HANDLE hToken);
    // Starts the process only: the server, or the program at exePath, with extra
    // "NAME=value" variables in its environment.
    bool Launch(const std::string& workDir, const std::string& exePath = std::string(),
                const std::vector<std::string>& environmentExtra = std::vector<std::string>());
    // Waits for the main window to show itself.
    bool WaitForMainWindow();
    // Waits for a dialog of this process with the caption (shown, when bVisible); NULL if
    // none in time.
    HWND WaitForDialog(const char* pszCaption, bool bVisible,
                       DWORD nTimeoutMs = WAIT_LIMIT_MS) const;
    // Waits for the main window, shown or hidden in the tray, with its settings loaded.
    bool AttachMainWindow(DWORD nTimeoutMs = WAIT_LIMIT_MS);
    // Whether the notification area holds the icon of this window (the shell
    // accepts a change only for an icon it holds).
    static bool HasTrayIcon(HWND hOwner);
    bool IsRunning() const;
    // Waits for the process to end; its exit code in *pExitCode.
    bool WaitForExit(DWORD nTimeoutMs, DWORD* pExitCode);
    void Kill();
    DWORD ProcessId() const { return m_processInfo.dwProcessId; }
    HANDLE ProcessHandle() const { return m_processInfo.hProcess; }

    HWND Window() const { return m_hWnd; }
    HWND Control(int nId) const { return GetDlgItem(m_hWnd, nId); }
    std::string ControlText(int nId) const;
    void SetControlText(int nId, const std::string& text) const;
    bool IsChecked(int nId) const;
    // Clicks a button or check box as the user would.
    void Click(int nId) const;

    // The whole event log, and the log after the two banner lines.
    std::string Log() const;
    std::string LogAfterBanner() const;
    // Waits until the log after the banner contains text; true if it does in time.
    bool WaitForLog(const std::string& text, DWORD nTimeoutMs = WAIT_LIMIT_MS) const;
    // Waits until the log after the banner equals text exactly.
    bool WaitForLogToBe(const std::string& text, DWORD nTimeoutMs = WAIT_LIMIT_MS) const;
    // Whether the start of the log's last line is inside the log's visible area.
    bool IsLastLogLineInView() const;
    // CPU time (user and kernel) the server has used so far, in milliseconds.
    unsigned long CpuTimeMs() const;

private:
    CServerProcess(const CServerProcess&);
    CServerProcess& operator=(const CServerProcess&);
    HWND FindServerWindow() const;
    bool CreateServerProcess(const std::string& workDir, const std::string& exePath,
                             const std::vector<std::string>& environmentExtra, HANDLE hToken);

    PROCESS_INFORMATION m_processInfo;
    HWND m_hWnd;
};

// Text of a window or control, and the text of control nId of dialog hDlg.
std::string WindowText(HWND hWnd);
std::string DialogItemText(HWND hDlg, int nId);
// Waits until the dialog item shows text: a picker answered by the test hands its
// result to the server only after the test's message has returned.
bool WaitForDialogItemText(HWND hDlg, int nId, const std::string& text,
                           DWORD nTimeoutMs = WAIT_LIMIT_MS);
// Presses a push button of a dialog as a click would (WM_COMMAND BN_CLICKED).
void PressButton(HWND hDlg, int nId);
// The same, posted: for buttons that open a modal window and return only when it closes.
void PostPressButton(HWND hDlg, int nId);
// Polls until the condition holds; true if it does within nTimeoutMs.
bool WaitUntil(const std::function<bool()>& condition, DWORD nTimeoutMs = WAIT_LIMIT_MS);

// Counts how often needle occurs in haystack.
int CountOccurrences(const std::string& haystack, const std::string& needle);

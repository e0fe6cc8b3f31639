// A fake media application as a test sees it: copied into a folder of the
// test's with its settings file, started by the test or by the server, and
// its record of what it received read back.
#pragma once
#include <string>
#include <vector>
#include "ServerProcess.h"

class CFakePlayer
{
public:
    // pszName names the fake's exe and settings file ("FakeWinamp3"); the copy
    // goes to <dir>\<pszFolder>.
    CFakePlayer(const CTempDir& dir, const char* pszFolder, const char* pszName,
                const char* pszWindowClass);
    // Ends every process with a window of the fake's class.
    ~CFakePlayer();

    // Copies the fake with these settings ("key=value\n" lines).
    void Prepare(const std::string& configLines);
    const std::string& ExePath() const { return m_exePath; }
    const std::string& Folder() const { return m_folder; }
    // Starts it from the test and waits for its window.
    bool Start();
    // Whether a window of the fake's class exists now.
    bool IsRunning() const;
    // The lines recorded so far, in order.
    std::vector<std::string> Messages() const;
    void ForgetMessages() const;
    // Waits until the record holds this line; true if it does in time.
    bool WaitForMessage(const std::string& line, DWORD nTimeoutMs = WAIT_LIMIT_MS) const;

    static void EndWindowsOfClass(const char* pszClass);

protected:
    std::string m_folder;
    std::string m_name;
    std::string m_exePath;
    std::string m_windowClass;
};

std::string JoinLines(const std::vector<std::string>& lines);

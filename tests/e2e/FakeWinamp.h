// The fake Winamp 2 as a test sees it: copied into the test's folder with its
// settings, started by the test or by the server, its message record read back.
#pragma once
#include <string>
#include <vector>
#include "ServerProcess.h"

class CFakeWinamp
{
public:
    explicit CFakeWinamp(const CTempDir& dir);
    ~CFakeWinamp();

    // Copies the fake into <dir>\winamp with these FakeWinamp2.cfg lines ("key=value\n").
    void Prepare(const std::string& configLines);
    const std::string& ExePath() const { return m_exePath; }
    const std::string& Folder() const { return m_folder; }
    // Starts it from the test and waits for its window.
    bool Start();
    // Whether a window of the fake's class exists now.
    bool IsRunning() const;
    // The messages received so far, one line each, in order.
    std::vector<std::string> Messages() const;
    void ForgetMessages() const;
    // Ends every fake Winamp window's process.
    static void EndAll();

private:
    std::string m_folder;
    std::string m_exePath;
    std::string m_windowClass;
};

std::string JoinLines(const std::vector<std::string>& lines);

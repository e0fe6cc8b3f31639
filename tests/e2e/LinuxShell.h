// Linux commands for the tests that change what no Windows call can here: the
// network namespace's links, symbolic links in the file system.
#pragma once
#include <string>

// Runs the script with /bin/sh; true when it exited 0 within the wait limit.
// It may not hold double quotes.
bool RunLinuxShell(const std::string& script);
// The Linux path of a Windows path ("C:\users\..." under the prefix), "" when Wine cannot tell.
std::string LinuxPath(const std::string& windowsPath);

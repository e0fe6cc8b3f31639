#include "LinuxShell.h"
#include <stdlib.h>
#include "ServerProcess.h"

bool RunLinuxShell(const std::string& script)
{
    // Wine starts a Linux program without a handle to wait on: the script writes
    // its exit status to a file of its own, which is waited for.
    std::string status = "/tmp/quorvel-shell-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(GetTickCount());
    std::string commandLine = "sh -c \"" + script + "; echo $? >" + status + ".new; mv " + status +
                              ".new " + status + "\"";
    STARTUPINFOA startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA("Z:\\bin\\sh", &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &process))
        return false;
    if (process.hProcess)
        CloseHandle(process.hProcess);
    if (process.hThread)
        CloseHandle(process.hThread);
    std::string statusFile = "Z:" + status, text;
    if (!WaitUntil([&] { return ReadBinaryFile(statusFile, text); }))
        return false;
    DeleteFileA(statusFile.c_str());
    return atoi(text.c_str()) == 0;
}

std::string LinuxPath(const std::string& windowsPath)
{
    typedef char*(__cdecl * UnixFileName)(const wchar_t*);
    UnixFileName pUnixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    std::wstring wide(windowsPath.begin(), windowsPath.end());
    char* pszPath = pUnixFileName ? pUnixFileName(wide.c_str()) : NULL;
    if (!pszPath)
        return "";
    std::string path = pszPath;
    HeapFree(GetProcessHeap(), 0, pszPath);
    return path;
}

// SHUT switches the PC off (where Windows has privileges, the shutdown privilege
// is first enabled in the server's own token); EXIT ends the server.
#include "ServerCore.h"
#include "SystemExit.h"
#include "../framework/ScopedHandle.h"

// Sets one privilege of the token on or off; failures are logged.
static bool EnablePrivilege(CServerCore& core, HANDLE hToken, const char* pszPrivilege,
                            bool bEnable)
{
    TOKEN_PRIVILEGES privileges = {};
    if (!LookupPrivilegeValueA(NULL, pszPrivilege, &privileges.Privileges[0].Luid))
    {
        core.LogEvent("LookupPrivilegeValue error: %u\n", static_cast<unsigned>(GetLastError()));
        return false;
    }
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = bEnable ? SE_PRIVILEGE_ENABLED : 0;
    AdjustTokenPrivileges(hToken, FALSE, &privileges, sizeof(privileges), NULL, NULL);
    // A call that succeeds still reports ERROR_NOT_ALL_ASSIGNED when the
    // account does not hold the privilege.
    DWORD nError = GetLastError();
    if (nError != ERROR_SUCCESS)
    {
        core.LogEvent("AdjustTokenPrivileges failed: %u\n", static_cast<unsigned>(nError));
        return false;
    }
    return true;
}

// The older Windows family, which has no privileges, sets the top bit of the version.
static bool HasPrivileges()
{
    return (GetVersion() & 0x80000000u) == 0;
}

void CServerCore::Shutdown()
{
    LogEvent("Shutting down Windows\r\n");
    if (HasPrivileges())
    {
        HANDLE hToken = NULL;
        OpenProcessToken(GetCurrentProcess(), TOKEN_WRITE, &hToken);
        CScopedHandle token(hToken);
        EnablePrivilege(*this, token.Get(), "SeShutdownPrivilege", true);
    }
    // Asked for whatever the privilege step reported: without the privilege
    // Windows refuses it and the PC stays on.
    RequestExitWindows(EWX_POWEROFF, 0);
}

void CServerCore::ExitServer()
{
    LogEvent("Ending the server at the phone's request\r\n");
    m_host.RequestExit();
}

#include "InputReach.h"
#include <windows.h>
#include <string.h>
#include "../framework/ScopedHandle.h"

// The integrity level (a mandatory label's RID) of a process's token; false when
// it cannot be asked.
static bool ProcessIntegrity(HANDLE hProcess, DWORD* pnLevel)
{
    HANDLE hToken = NULL;
    if (!OpenProcessToken(hProcess, TOKEN_QUERY, &hToken))
        return false;
    CScopedHandle token(hToken);
    BYTE buffer[128];
    DWORD nSize = 0;
    if (!GetTokenInformation(hToken, TokenIntegrityLevel, buffer, sizeof(buffer), &nSize))
        return false;
    PSID pSid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid;
    UCHAR nCount = *GetSidSubAuthorityCount(pSid);
    if (nCount == 0)
        return false;
    *pnLevel = *GetSidSubAuthority(pSid, nCount - 1);
    return true;
}

// A window in front that belongs to a process this one cannot even ask is
// treated as out of reach: that is what such a process usually is.
static bool IsForegroundElevated()
{
    HWND hForeground = GetForegroundWindow();
    DWORD nProcessId = 0;
    if (!hForeground || !GetWindowThreadProcessId(hForeground, &nProcessId) || !nProcessId ||
        nProcessId == GetCurrentProcessId())
        return false;
    DWORD nOwn = 0;
    if (!ProcessIntegrity(GetCurrentProcess(), &nOwn))
        return false;
    CScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, nProcessId));
    DWORD nTheirs = 0;
    if (!process.IsValid() || !ProcessIntegrity(process.Get(), &nTheirs))
        return true;
    return nTheirs > nOwn;
}

static bool IsInputDesktopOthers()
{
    HDESK hDesktop = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
    if (!hDesktop)
        return true;
    wchar_t szName[64] = L"";
    DWORD nNeeded = 0;
    BOOL bNamed = GetUserObjectInformationW(hDesktop, UOI_NAME, szName, sizeof(szName), &nNeeded);
    CloseDesktop(hDesktop);
    return !bNamed || _wcsicmp(szName, L"Default") != 0;
}

int InputReachNow()
{
    if (IsInputDesktopOthers())
        return INPUT_REACH_LOCKED;
    return IsForegroundElevated() ? INPUT_REACH_ELEVATED : INPUT_REACH_ALL;
}

const char* InputReachName(int nReach)
{
    switch (nReach)
    {
    case INPUT_REACH_ELEVATED:
        return "elevated";
    case INPUT_REACH_LOCKED:
        return "locked";
    }
    return "";
}

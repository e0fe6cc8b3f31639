#include "SystemExit.h"

BOOL RequestExitWindows(UINT nFlags, DWORD nReason)
{
    return ExitWindowsEx(nFlags, nReason);
}

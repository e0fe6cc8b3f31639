// The one call that ends the Windows session. It has a file of its own so the
// tests can link a stand-in that records the call instead of switching the
// test machine off.
#pragma once
#include <windows.h>

// ExitWindowsEx with these flags and reason; its result.
BOOL RequestExitWindows(UINT nFlags, DWORD nReason);

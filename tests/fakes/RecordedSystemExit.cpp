// Stand-in for the call that ends the Windows session, linked into a twin of
// the server for the tests: it appends "ExitWindowsEx <flags> <reason>" to
// ExitWindowsEx.log in the working directory and leaves the machine running.
#include <stdio.h>
#include "../../core/SystemExit.h"

BOOL RequestExitWindows(UINT nFlags, DWORD nReason)
{
    FILE* pFile = fopen("ExitWindowsEx.log", "ab");
    if (!pFile)
        return FALSE;
    fprintf(pFile, "ExitWindowsEx 0x%X 0x%lX\n", nFlags, static_cast<unsigned long>(nReason));
    fclose(pFile);
    return TRUE;
}

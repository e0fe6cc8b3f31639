#include "CommandLines.h"
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

// printf-style into pOut when the whole text fits; otherwise pOut is left empty.
static bool FormatWhole(char* pOut, size_t nOutSize, const char* pszFormat, ...)
{
    if (nOutSize == 0)
        return false;
    va_list args;
    va_start(args, pszFormat);
    int nWanted = vsnprintf(pOut, nOutSize, pszFormat, args);
    va_end(args);
    if (nWanted >= 0 && static_cast<size_t>(nWanted) < nOutSize)
        return true;
    pOut[0] = '\0';
    return false;
}

bool KeepApplicationPath(const char* pszPath, char* pOut, size_t nOutSize)
{
    return FormatWhole(pOut, nOutSize, "%s", pszPath);
}

CommandLineResult BuildPlayCommandLine(const char* pszPath, char* pOut, size_t nOutSize)
{
    if (nOutSize > 0)
        pOut[0] = '\0';
    if (strchr(pszPath, '"'))
        return COMMAND_LINE_QUOTE_IN_PATH;
    if (!FormatWhole(pOut, nOutSize, "/play \"%s\"", pszPath))
        return COMMAND_LINE_TOO_LONG;
    return COMMAND_LINE_OK;
}

CommandLineResult BuildAddCommandLine(const char* pszAppPath, const char* pszPath, char* pOut,
                                      size_t nOutSize)
{
    if (nOutSize > 0)
        pOut[0] = '\0';
    if (strchr(pszPath, '"'))
        return COMMAND_LINE_QUOTE_IN_PATH;
    if (!FormatWhole(pOut, nOutSize, "\"%s\" /add \"%s\"", pszAppPath, pszPath))
        return COMMAND_LINE_TOO_LONG;
    return COMMAND_LINE_OK;
}

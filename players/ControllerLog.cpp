#include "ControllerLog.h"
#include <stdarg.h>
#include <stdio.h>

void CControllerLog::LogFormat(const char* pszFormat, ...)
{
    char szLine[1024];
    va_list args;
    va_start(args, pszFormat);
    vsnprintf(szLine, sizeof(szLine), pszFormat, args);
    va_end(args);
    LogControllerLine(szLine);
}

// Where code outside the main window writes its lines: the event log. The
// controllers get one at creation, so they report without knowing the dialog.
#pragma once
#include <stdarg.h>

class CEventLog
{
public:
    // printf-style, appended exactly as formatted; callable from any thread.
    virtual void LogEventV(const char* pszFormat, va_list args) = 0;

    void LogEvent(const char* pszFormat, ...)
    {
        va_list args;
        va_start(args, pszFormat);
        LogEventV(pszFormat, args);
        va_end(args);
    }

protected:
    ~CEventLog() {}
};

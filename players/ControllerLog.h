// Where a controller reports what went wrong inside an operation, since the
// operations themselves return nothing; the main dialog writes it to the event log.
#pragma once

class CControllerLog
{
public:
    // One whole line, its "\r\n" included. Callable from any thread.
    virtual void LogControllerLine(const char* pszLine) = 0;
    // printf-style: the line is formatted (cut to 1023 bytes) and reported.
    void LogFormat(const char* pszFormat, ...);

protected:
    ~CControllerLog() {}
};

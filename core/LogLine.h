// Formatting of one event-log message into the log's fixed buffer, and of the
// values the log shows.
// Plain C++, no platform calls.
#pragma once
#include <stdarg.h>
#include <stddef.h>

const size_t LOG_LINE_SIZE = 1024;

// printf-style into pBuffer (nSize bytes). A message that does not fit is cut;
// if its format ends the line with "\r\n", the cut message still ends with it,
// so a long file name never swallows the next log line.
void FormatLogMessage(char* pBuffer, size_t nSize, const char* pszFormat, va_list args);

// v x 100 / 255, rounded down: what the log shows for a volume byte.
int VolumePercent(unsigned nVolume);
// "on" for any non-zero byte, else "off".
const char* OnOffText(unsigned nValue);

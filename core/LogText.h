// Text that a client sent (a phone's name, a page's field), made fit for one
// line of the event log. Plain C++, no platform calls.
#pragma once
#include <string>

// What is kept of a web client's text in a log line; a path of 1,000 characters
// would bury the lines around it.
const size_t LOG_TEXT_MAX = 200;

// Control characters as "\x0A" (so a client cannot start lines of its own),
// and at most nMax characters, "..." after a cut (never inside an escape).
std::string LogSafeText(const std::string& text, size_t nMax = LOG_TEXT_MAX);

// The same, never cut: a phone's names are bounded by the wire, and text
// without control characters comes back byte for byte.
std::string LogSafeName(const char* pszText);

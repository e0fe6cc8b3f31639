// Text that a client sent, made fit for one line of the event log. Plain C++,
// no platform calls.
#pragma once
#include <string>

// What is kept of a client's text in a log line; a path of 1,000 characters
// would bury the lines around it.
const size_t LOG_TEXT_MAX = 200;

// Control characters as "\x0A" (so a client cannot start lines of its own),
// and at most nMax characters, "..." after a cut (never inside an escape).
std::string LogSafeText(const std::string& text, size_t nMax = LOG_TEXT_MAX);

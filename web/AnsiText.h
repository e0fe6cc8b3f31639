// The server's names are in the PC's ANSI code page; the page speaks UTF-8, and
// the path rules read UTF-16. They meet here, at the edge.
#pragma once
#include <string>

std::string Utf8FromAnsi(const std::string& ansi);
// False when the text is not UTF-8 or holds a zero character (it would cut the
// name short where the handlers read it).
bool WideFromUtf8(const std::string& utf8, std::wstring* pWide);
std::wstring WideFromAnsi(const std::string& ansi);
// False when a character has no place in the ANSI code page.
bool AnsiFromWide(const std::wstring& wide, std::string* pAnsi);
// For a log line: a character with no place in the ANSI code page becomes "?".
std::string AnsiForLog(const std::wstring& wide);

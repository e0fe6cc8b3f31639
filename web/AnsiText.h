// The server's names are in the PC's ANSI code page; the page speaks UTF-8.
// The two meet here, at the edge.
#pragma once
#include <string>

std::string Utf8FromAnsi(const std::string& ansi);
// False when the text is not UTF-8 or a character has no place in the ANSI code page.
bool AnsiFromUtf8(const std::string& utf8, std::string* pAnsi);

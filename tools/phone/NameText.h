// The server names files in the PC's ANSI code page; the terminal may use
// another encoding. Win32: the conversions go through UTF-16.
#pragma once
#include <string>
#include <vector>

// The code page to print the server's names in (see ChooseOutputCodePage); 0
// prints them as they came.
unsigned TerminalCodePage();
// The server's text in that code page; a character it cannot hold becomes '?'.
std::string AnsiForTerminal(const std::string& text, unsigned nCodePage);
// The command line's arguments in the ANSI code page, as the server takes names.
// False when one has a character the code page cannot hold: that argument is in
// refused, with '?' for each such character.
bool AnsiArguments(std::vector<std::string>& args, std::string& refused);

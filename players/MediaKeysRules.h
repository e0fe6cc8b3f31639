// The media-keys kind's rules that need no platform: which files it refuses to
// hand to the shell, and the file name it looks for among running programs.
// Plain C++.
#pragma once

// Whether the shell would run the file as a program or a script rather than
// open it in a player: such a file is never opened for the phone.
bool IsProgramFile(const char* pszPath);

// The file name of a path: what follows its last "\" or "/", or its drive.
const char* FileNameOfPath(const char* pszPath);

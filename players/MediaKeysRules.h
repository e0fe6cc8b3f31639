// The media-keys kind's path rules that need no platform: the type it opens a
// file as, and the file name it looks for among running programs. Plain C++.
#pragma once

// The type of a path's file name with its dot (".mp3"), or NULL when it has none.
const char* FileTypeOfPath(const char* pszPath);

// The file name of a path: what follows its last "\" or "/", or its drive.
const char* FileNameOfPath(const char* pszPath);

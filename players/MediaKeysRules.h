// The media-keys kind's rules that need no platform: which names it may hand to
// the shell, and the file name it looks for among running programs.
// Plain C++.
#pragma once

// The types the kind opens when its ExtensionsHandled5 is empty: sound, video
// and playlists, ";"-separated.
extern const char* const MEDIA_KEYS_TYPES;

// Whether the name may be handed to the shell as a media file: a "C:\..." or
// "\\server\share\..." path ("/" counts as "\") whose file name ends in a type
// of pszTypes (";"-separated, without case; MEDIA_KEYS_TYPES when empty). No
// quote, no colon but the drive's (schemes, streams), no wildcard or control
// character, and no "." or " " at its end: the system would read such a name in
// its own way, or run what it names.
bool IsMediaFileName(const char* pszPath, const char* pszTypes);

// The type of a path's file name with its dot (".mp3"), or NULL when it has none.
const char* FileTypeOfPath(const char* pszPath);

// The file name of a path: what follows its last "\" or "/", or its drive.
const char* FileNameOfPath(const char* pszPath);

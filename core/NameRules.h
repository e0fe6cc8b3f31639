// The rules about the names a client sends, in one place: a device or pipe is
// never opened, the media-keys kind hands only media files to the shell, and
// the web page reaches only what lies inside the folders to browse. Plain C++,
// no platform calls; ResolvedPaths.h adds the system's reading of a name.
#pragma once
#include <stddef.h>
#include <string>

// Devices and pipes. Opening such a name can block a link for good or stream
// without end. True for the device namespaces ("\\.\", "\\?\", "\??\"), for
// pipes and mailslots and the pipes' share IPC$, also on another computer and
// with separators repeated ("\\host\pipe\...", "\\host\\IPC$\..."), and for
// names whose last part is a DOS device (CON, PRN, AUX, NUL, CONIN$, CONOUT$,
// COM1 to COM9, LPT1 to LPT9) with or without an extension or folder. "/" counts
// as "\". Network folders ("\\server\share\...") and ordinary paths are not devices.
bool IsDeviceName(const char* pszPath);

// The types the media-keys kind opens when its ExtensionsHandled5 is empty:
// sound, video and playlists, ";"-separated.
extern const char* const MEDIA_KEYS_TYPES;

// Whether the name may be handed to the shell as a media file: a "C:\..." or
// "\\server\share\..." path ("/" counts as "\") whose file name ends in a type
// of pszTypes (";"-separated, without case; MEDIA_KEYS_TYPES when empty). No
// quote, no colon but the drive's (schemes, streams), no wildcard or control
// character, and no "." or " " at its end: the system would read such a name in
// its own way, or run what it names.
bool IsMediaFileName(const char* pszPath, const char* pszTypes);

// In characters; the ANSI name handed on is bounded again where it is converted.
const size_t MAX_BROWSE_PATH = 1023;

// The paths the web remote's page may name: only inside the folders the user
// chose to browse. Checked in UTF-16 (wide strings), where no byte of a
// double-byte code page's character can pass for a separator.
// Normalises a Windows path the page sent ("/" as "\", repeated separators folded, a
// trailing separator dropped) into *pNormalised and checks that it lies inside one of
// the ";"-separated configured folders (same drive or share, compared without case on
// whole path parts). Refused: empty, relative paths, any "." or ".." part, device and
// pipe names (IsDeviceName), "\\?\" and "\\.\" forms, a ':' anywhere but after the
// drive letter (streams), and anything over 1023 characters. Also refused, as no
// file can have them but the system reads them in its own way: a part that ends in
// '.' or ' ' ("...", ".. "), the characters < > " | ? * and control characters.
// Case is compared for ASCII letters only, so a path that differs from its folder
// in the case of another letter is refused. *pNormalised spells the folder part as
// the configuration does, so a case-sensitive file system (Wine's) never reaches a
// sibling folder whose name differs only in case.
bool IsInsideBrowseFolders(const std::wstring& path, const std::wstring& folderList,
                           std::wstring* pNormalised);

// The paths the web remote's page may name: only inside the folders the user chose to
// browse. Checked in UTF-16 (wide strings), where no byte of a double-byte code page's
// character can pass for a separator. Plain C++, no platform calls.
#pragma once
#include <string>

// In characters; the ANSI name handed on is bounded again where it is converted.
const size_t MAX_BROWSE_PATH = 1023;

// Normalises a Windows path the page sent ("/" as "\", repeated separators folded, a
// trailing separator dropped) into *pNormalised and checks that it lies inside one of
// the ";"-separated configured folders (same drive or share, compared without case on
// whole path parts). Refused: empty, relative paths, any "." or ".." part, device and
// pipe names (IsDeviceName of protocol/DeviceNames.h), "\\?\" and "\\.\" forms, a ':'
// anywhere but after the drive letter (streams), and anything over 1023 characters.
// Also refused, as no file can have them but the system reads them in its own way: a
// part that ends in '.' or ' ' ("...", ".. "), the characters < > " | ? * and control
// characters. Case is compared for ASCII letters only, so a path that differs from
// its folder in the case of another letter is refused. *pNormalised spells the folder
// part as the configuration does, so a case-sensitive file system (Wine's) never
// reaches a sibling folder whose name differs only in case.
bool IsInsideBrowseFolders(const std::wstring& path, const std::wstring& folderList,
                           std::wstring* pNormalised);

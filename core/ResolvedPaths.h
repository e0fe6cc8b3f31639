// Names as the system resolves them: the thin Win32 side of the device rule
// (NameRules.h) and of what PLAY and LADD may open.
#pragma once

// IsDeviceName on the name as sent and on its full path from GetFullPathNameW:
// the system's own reading of ".", ".." and repeated separators, whatever the
// plain rule makes of them. Every open of a name a phone sent is guarded by this.
bool IsDeviceNameAsResolved(const char* pszPath);

// Whether the name is an existing file: not a folder, not a device.
bool IsExistingRegularFile(const char* pszPath);

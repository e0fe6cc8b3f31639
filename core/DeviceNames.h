// Names that open a device or a pipe instead of a file or folder. A phone may
// name any path, and opening such a name can block a link for good or stream
// without end, so these are refused before anything opens them.
// Plain C++, no platform calls.
#pragma once

// True for the device namespaces ("\\.\", "\\?\", "\??\"), for pipes and
// mailslots and the pipes' share IPC$, also on another computer and with
// separators repeated ("\\host\pipe\...", "\\host\\IPC$\..."), and for names whose
// last part is a DOS device (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1 to COM9,
// LPT1 to LPT9) with or without an extension or folder. "/" counts as "\".
// Network folders ("\\server\share\...") and ordinary paths are not devices.
bool IsDeviceName(const char* pszPath);

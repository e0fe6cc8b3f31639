// The shell's folder picker and the system's Open dialog, as the main window and
// the first-run wizard use them. The argument builders are separate so that what
// the pickers are asked for can be checked without showing them.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

// Long names, path must exist, no validation, hide read-only, overwrite prompt.
const DWORD OPEN_FILE_PICKER_FLAGS =
    OFN_LONGNAMES | OFN_PATHMUSTEXIST | OFN_NOVALIDATE | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

// The whole namespace, no flags, the title given; pDisplayName takes MAX_PATH bytes.
BROWSEINFOA BuildFolderPickerArgs(HWND hOwner, const char* pszTitle, char* pDisplayName);
// No filter, no initial folder, no title of its own; pFile holds the initial file
// name on the way in and the chosen path on the way out.
OPENFILENAMEA BuildFilePickerArgs(HWND hOwner, char* pFile, DWORD nFileSize);

// The chosen folder's path in pPath (MAX_PATH bytes); false when cancelled.
bool PickFolder(HWND hOwner, const char* pszTitle, char* pPath);
// Opens the Open dialog at pFile; the chosen path replaces it. False when cancelled.
bool PickFile(HWND hOwner, char* pFile, DWORD nFileSize);

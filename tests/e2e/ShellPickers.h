// Answers the shell's folder picker and the Open dialog that the server shows,
// by messages, as a user would with the mouse and keyboard.
#pragma once
#include <windows.h>
#include <string>
#include "ServerProcess.h"

// A folder on the shell's desktop, which the folder picker lists at its top
// level; removed again with everything in it.
class CDesktopFolder
{
public:
    explicit CDesktopFolder(const std::string& name);
    ~CDesktopFolder();
    const std::string& Name() const { return m_name; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_name;
    std::string m_path;
};

// Waits for a visible window owned by hOwner (a picker or a message box); NULL if none in time.
HWND WaitForOwnedWindow(HWND hOwner, DWORD nTimeoutMs = WAIT_LIMIT_MS);
// The title the folder picker shows above its tree.
std::string FolderPickerTitle(HWND hPicker);
// Selects the desktop folder with this name in the picker of process hProcess and presses OK.
bool ChooseDesktopFolder(HANDLE hProcess, HWND hPicker, const std::string& name);
// The file name the Open dialog starts with.
std::string FilePickerFileName(HWND hDialog);
// Whether the Open dialog shows its "Open as read-only" box.
bool FilePickerShowsReadOnly(HWND hDialog);
// Types a full path into the Open dialog and presses Open.
void ChooseFile(HWND hDialog, const std::string& path);
// Ends either picker with Cancel.
void CancelPicker(HWND hPicker);
// Waits until the window has gone.
bool WaitForWindowToClose(HWND hWnd, DWORD nTimeoutMs = WAIT_LIMIT_MS);

#include "ShellPickers.h"
#include <commctrl.h>
#include <shlobj.h>
#include "ServerProcess.h"

// Control ids of the pickers' own dialogs.
static const int FOLDER_PICKER_TITLE = 14146;
static const int FOLDER_PICKER_TREE = 14145;
static const int OPEN_FILE_NAME = 1148;
static const int OPEN_READ_ONLY = 1040;

CDesktopFolder::CDesktopFolder(const std::string& name)
{
    char szDesktop[MAX_PATH] = "";
    SHGetFolderPathA(NULL, CSIDL_DESKTOPDIRECTORY, NULL, 0, szDesktop);
    m_name = name + "-" + std::to_string(GetCurrentProcessId());
    m_path = std::string(szDesktop) + "\\" + m_name;
    CreateDirectoryA(szDesktop, NULL);
    CreateDirectoryA(m_path.c_str(), NULL);
}

CDesktopFolder::~CDesktopFolder()
{
    RemoveTree(m_path);
}

struct OwnedSearch
{
    HWND hOwner;
    HWND hFound;
};

static BOOL CALLBACK MatchOwned(HWND hWnd, LPARAM lParam)
{
    OwnedSearch* pSearch = reinterpret_cast<OwnedSearch*>(lParam);
    if (GetWindow(hWnd, GW_OWNER) != pSearch->hOwner || !IsWindowVisible(hWnd))
        return TRUE;
    pSearch->hFound = hWnd;
    return FALSE;
}

HWND WaitForOwnedWindow(HWND hOwner, DWORD nTimeoutMs)
{
    OwnedSearch search = {hOwner, NULL};
    WaitUntil(
        [&]
        {
            EnumWindows(MatchOwned, reinterpret_cast<LPARAM>(&search));
            return search.hFound != NULL;
        },
        nTimeoutMs);
    return search.hFound;
}

std::string FolderPickerTitle(HWND hPicker)
{
    return DialogItemText(hPicker, FOLDER_PICKER_TITLE);
}

// The text of a tree item of another process: the item record and its text
// buffer must live in that process.
static std::string TreeItemText(HANDLE hProcess, HWND hTree, HTREEITEM hItem)
{
    const SIZE_T TEXT_SIZE = 512;
    char* pRemote = static_cast<char*>(
        VirtualAllocEx(hProcess, NULL, sizeof(TVITEMA) + TEXT_SIZE, MEM_COMMIT, PAGE_READWRITE));
    if (!pRemote)
        return std::string();
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = pRemote + sizeof(TVITEMA);
    item.cchTextMax = TEXT_SIZE;
    WriteProcessMemory(hProcess, pRemote, &item, sizeof(item), NULL);
    SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(pRemote));
    char szText[TEXT_SIZE] = "";
    ReadProcessMemory(hProcess, pRemote + sizeof(TVITEMA), szText, TEXT_SIZE - 1, NULL);
    VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
    szText[TEXT_SIZE - 1] = '\0';
    return szText;
}

bool ChooseDesktopFolder(HANDLE hProcess, HWND hPicker, const std::string& name)
{
    HWND hTree = GetDlgItem(hPicker, FOLDER_PICKER_TREE);
    HTREEITEM hRoot =
        reinterpret_cast<HTREEITEM>(SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    SendMessageA(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hRoot));
    HTREEITEM hItem = reinterpret_cast<HTREEITEM>(
        SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(hRoot)));
    for (; hItem; hItem = reinterpret_cast<HTREEITEM>(SendMessageA(
                      hTree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(hItem))))
    {
        if (TreeItemText(hProcess, hTree, hItem) != name)
            continue;
        SendMessageA(hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem));
        PressButton(hPicker, IDOK);
        return true;
    }
    return false;
}

std::string FilePickerFileName(HWND hDialog)
{
    return DialogItemText(hDialog, OPEN_FILE_NAME);
}

bool FilePickerShowsReadOnly(HWND hDialog)
{
    return IsWindowVisible(GetDlgItem(hDialog, OPEN_READ_ONLY)) != FALSE;
}

void ChooseFile(HWND hDialog, const std::string& path)
{
    SendMessageA(GetDlgItem(hDialog, OPEN_FILE_NAME), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(path.c_str()));
    PressButton(hDialog, IDOK);
}

void CancelPicker(HWND hPicker)
{
    PressButton(hPicker, IDCANCEL);
}

bool WaitForWindowToClose(HWND hWnd, DWORD nTimeoutMs)
{
    return WaitUntil([&] { return !IsWindow(hWnd); }, nTimeoutMs);
}

#include "Pickers.h"
#include <objbase.h>
#include <stdio.h>

BROWSEINFOA BuildFolderPickerArgs(HWND hOwner, const char* pszTitle, char* pDisplayName)
{
    BROWSEINFOA info = {};
    info.hwndOwner = hOwner;
    info.pidlRoot = NULL;
    info.pszDisplayName = pDisplayName;
    info.lpszTitle = pszTitle;
    info.ulFlags = 0;
    return info;
}

OPENFILENAMEA BuildFilePickerArgs(HWND hOwner, char* pFile, DWORD nFileSize)
{
    OPENFILENAMEA args = {};
    args.lStructSize = sizeof(args);
    args.hwndOwner = hOwner;
    args.lpstrFilter = NULL;
    args.lpstrFile = pFile;
    args.nMaxFile = nFileSize;
    args.lpstrInitialDir = NULL;
    args.lpstrTitle = NULL;
    args.Flags = OPEN_FILE_PICKER_FLAGS;
    return args;
}

bool PickFolder(HWND hOwner, const char* pszTitle, char* pPath)
{
    char szDisplayName[MAX_PATH];
    BROWSEINFOA info = BuildFolderPickerArgs(hOwner, pszTitle, szDisplayName);
    LPITEMIDLIST pItems = SHBrowseForFolderA(&info);
    if (!pItems)
        return false;
    char szPath[MAX_PATH];
    bool bFound = SHGetPathFromIDListA(pItems, szPath) != FALSE;
    CoTaskMemFree(pItems);
    if (!bFound)
        return false;
    snprintf(pPath, MAX_PATH, "%s", szPath);
    return true;
}

bool PickFile(HWND hOwner, char* pFile, DWORD nFileSize)
{
    OPENFILENAMEA args = BuildFilePickerArgs(hOwner, pFile, nFileSize);
    return GetOpenFileNameA(&args) != FALSE;
}

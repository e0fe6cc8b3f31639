// What the folder picker and the Open dialog are asked for (Windows only).
#include <gtest/gtest.h>
#include "app/Pickers.h"

TEST(Pickers, FolderPickerCoversTheWholeNamespaceWithNoFlags)
{
    char szDisplayName[MAX_PATH];
    HWND hOwner = reinterpret_cast<HWND>(0x1234);
    BROWSEINFOA info =
        BuildFolderPickerArgs(hOwner, "Select a folder to add to the list.", szDisplayName);
    EXPECT_EQ(hOwner, info.hwndOwner);
    EXPECT_EQ(NULL, info.pidlRoot);
    EXPECT_STREQ("Select a folder to add to the list.", info.lpszTitle);
    EXPECT_EQ(0u, info.ulFlags);
    EXPECT_EQ(szDisplayName, info.pszDisplayName);
    EXPECT_EQ(NULL, info.lpfn);
}

TEST(Pickers, OpenDialogStartsFromTheGivenFileWithTheFixedFlags)
{
    char szFile[MAX_PATH] = "C:\\Winamp\\winamp.exe";
    HWND hOwner = reinterpret_cast<HWND>(0x1234);
    OPENFILENAMEA args = BuildFilePickerArgs(hOwner, szFile, sizeof(szFile));
    EXPECT_EQ(sizeof(OPENFILENAMEA), args.lStructSize);
    EXPECT_EQ(hOwner, args.hwndOwner);
    EXPECT_EQ(szFile, args.lpstrFile);
    EXPECT_EQ(260u, args.nMaxFile);
    EXPECT_EQ(NULL, args.lpstrFilter);
    EXPECT_EQ(NULL, args.lpstrInitialDir);
    EXPECT_EQ(NULL, args.lpstrTitle);
    // Long names, path must exist, no validation, hide read-only, overwrite prompt.
    EXPECT_EQ(0x200906u, args.Flags);
}

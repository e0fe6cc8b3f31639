// Reads folders through FindFirstFileA into the browse tree, logging the ones
// that cannot be opened.
#pragma once
#include "BrowseTree.h"

class CServerDlg;

class CWin32FolderScanner : public CFolderScanner
{
public:
    explicit CWin32FolderScanner(CServerDlg& dlg) : m_dlg(dlg) {}
    void ScanFolder(const char* pszPath, BrowseNode* pParent, bool bRecursive) override;

private:
    CServerDlg& m_dlg;
};

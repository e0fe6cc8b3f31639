// Reads folders through FindFirstFileA into the browse tree, logging the ones
// that cannot be opened.
#pragma once
#include "BrowseTree.h"

class CServerCore;

class CWin32FolderScanner : public CFolderScanner
{
public:
    explicit CWin32FolderScanner(CServerCore& core) : m_core(core) {}
    void ScanFolder(const char* pszPath, BrowseNode* pParent, bool bRecursive) override;

private:
    CServerCore& m_core;
};

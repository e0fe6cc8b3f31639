// Reads folders through FindFirstFileA into the browse tree, logging the ones
// that cannot be opened, and never entering a folder it is already inside.
#pragma once
#include "BrowseTree.h"
#include "FolderTrail.h"

class CServerCore;

class CWin32FolderScanner : public CFolderScanner
{
public:
    explicit CWin32FolderScanner(CServerCore& core) : m_core(core) {}
    void ScanFolder(const char* pszPath, BrowseNode* pParent, bool bRecursive) override;

private:
    void ScanEntries(const char* pszPath, BrowseNode* pParent, bool bRecursive);

    CServerCore& m_core;
    CFolderTrail m_trail;
};

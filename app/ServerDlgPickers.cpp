// The buttons of the "Files to browse:" list and the "Browse..." button of the
// application path.
#include "ServerDlg.h"
#include <stdio.h>
#include "Pickers.h"
#include "../core/SettingsRules.h"
#include "../res/resource.h"

void CServerDlg::OnSelectFolder()
{
    char szFolder[MAX_PATH];
    if (!PickFolder(m_hWnd, "Select the folder which contains your music.", szFolder))
        return;
    snprintf(m_szPath, sizeof(m_szPath), "%s", szFolder);
    ShowPickedFolders();
}

// Appends to the list as last loaded, picked or saved, not to what was typed into
// 1000 since then. A folder that would not fit the list is refused whole.
void CServerDlg::OnAddFolder()
{
    char szFolder[MAX_PATH];
    if (!PickFolder(m_hWnd, "Select a folder to add to the list.", szFolder))
        return;
    if (!AppendFolderToList(m_szPath, sizeof(m_szPath), szFolder))
    {
        m_core.LogEvent(FOLDER_REFUSED_FORMAT, szFolder, PATH_SIZE - 1);
        return;
    }
    ShowPickedFolders();
}

void CServerDlg::OnClearFolders()
{
    m_szPath[0] = '\0';
    ShowPickedFolders();
}

// The buttons end any editing of the list: what they leave is taken at once.
void CServerDlg::ShowPickedFolders()
{
    SetDlgItemTextA(m_hWnd, IDC_BROWSE_PATH, m_szPath);
    OnBrowseFoldersEdited();
}

void CServerDlg::OnBrowseApp()
{
    char szFile[PATH_SIZE];
    if (!GetDlgItemTextA(m_hWnd, IDC_APP_PATH, szFile, sizeof(szFile)))
        szFile[0] = '\0';
    if (PickFile(m_hWnd, szFile, sizeof(szFile)))
        SetDlgItemTextA(m_hWnd, IDC_APP_PATH, szFile);
}

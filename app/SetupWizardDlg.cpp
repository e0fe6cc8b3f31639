#include "SetupWizardDlg.h"
#include <stdio.h>
#include "Pickers.h"
#include "ServerDlg.h"
#include "../core/PlayerKinds.h"
#include "../core/SettingsRules.h"
#include "../res/resource.h"

static const char* const APPLICATION_PAGE_TEXT =
    "Select the main application you wish to use for controlling your media files. Quorvel "
    "will also be set up to control PowerPoint presentations.\r\n\r\nIf you only want to "
    "control PowerPoint, select the bottom option.";
static const char* const FOLDERS_PAGE_TEXT = "Enter the location of the files you'd like to "
                                             "browse with Quorvel. You can enter multiple "
                                             "locations.";
static const char* const PORT_FOUND_TEXT =
    "To configure the Bluetooth connection to your phone, a Bluetooth COM port must be "
    "selected. The port which Quorvel thinks it should use is given below. This can be changed "
    "now or later if it's wrong.";
static const char* const PORT_NOT_FOUND_TEXT =
    "To configure the Bluetooth connection to your phone, a Bluetooth COM port must be "
    "selected. Look at the settings of your Bluetooth adapter to find which port to enter here.";
static const char* const COMPLETE_PAGE_TEXT =
    "Setup is complete. Press Next to start using Quorvel.";

// The application page's radio buttons, in the order they are tested, with the
// kind each chooses; a kind without a path question skips the path page.
struct AppChoice
{
    int nRadio;
    int nKind;
};
static const AppChoice s_appChoices[] = {
    {IDC_WIZARD_WINAMP2, APP_WINAMP2},
    {IDC_WIZARD_WINAMP3, APP_WINAMP3},
    {IDC_WIZARD_MEDIA_PLAYER, APP_MEDIA_PLAYER},
    {IDC_WIZARD_MEDIA_KEYS, APP_MEDIA_KEYS},
    // PowerPoint only: there is no media application whose path to ask for.
    {IDC_WIZARD_POWERPOINT_ONLY, APP_POWERPOINT_VIEWER},
};
static const int APP_CHOICE_COUNT = sizeof(s_appChoices) / sizeof(s_appChoices[0]);

CSetupWizardDlg::CSetupWizardDlg()
    : CDialog(IDD_SETUP_WIZARD, NULL), m_nPage(0), m_pServerDlg(NULL), m_nAppKind(0)
{
    m_szAppPath[0] = '\0';
    m_szFolders[0] = '\0';
    m_szCommPort[0] = '\0';
}

BOOL CSetupWizardDlg::OnInitDialog()
{
    CenterWindow();
    return TRUE;
}

bool CSetupWizardDlg::OnCommand(WORD nId, WORD)
{
    switch (nId)
    {
    case IDC_WIZARD_NEXT:
        OnNext();
        return true;
    case IDC_WIZARD_SELECT_FOLDER:
        OnSelectFolder();
        return true;
    case IDC_WIZARD_ADD_FOLDER:
        OnAddFolder();
        return true;
    case IDC_WIZARD_CLEAR:
        SetDlgItemTextA(m_hWnd, IDC_WIZARD_EDIT, "");
        return true;
    case IDC_WIZARD_SELECT_FILE:
        OnSelectFile();
        return true;
    case IDC_WIZARD_CANCEL:
        OnCancel();
        return true;
    }
    return false;
}

void CSetupWizardDlg::OnCancel()
{
    EndDialog(0);
}

void CSetupWizardDlg::OnNext()
{
    int nPage = m_nPage++;
    switch (nPage)
    {
    case 0:
        ShowApplicationPage();
        break;
    case 1:
        LeaveApplicationPage();
        break;
    case 2:
        ShowFoldersPage();
        break;
    case 3:
        ShowComPortPage();
        break;
    case 4:
        ShowCompletePage();
        break;
    default:
        Finish();
        break;
    }
}

void CSetupWizardDlg::ShowApplicationPage()
{
    SetPageText(APPLICATION_PAGE_TEXT);
    CheckDlgButton(m_hWnd, IDC_WIZARD_WINAMP2, BST_CHECKED);
    for (const AppChoice& choice : s_appChoices)
        ShowControl(choice.nRadio, true);
}

void CSetupWizardDlg::LeaveApplicationPage()
{
    int nChosen = 0;
    for (int i = APP_CHOICE_COUNT - 1; i >= 0; i--)
    {
        ShowControl(s_appChoices[i].nRadio, false);
        if (IsDlgButtonChecked(m_hWnd, s_appChoices[i].nRadio) == BST_CHECKED)
            nChosen = i;
    }
    m_nAppKind = s_appChoices[nChosen].nKind;
    const char* pszPathQuestion = KindInfo(m_nAppKind).pszPathQuestion;
    if (!pszPathQuestion)
    {
        m_nPage++;
        ShowFoldersPage();
        return;
    }
    SetPageText(pszPathQuestion);
    SetEdit("", sizeof(m_szAppPath) - 1);
    ShowControl(IDC_WIZARD_EDIT, true);
    ShowControl(IDC_WIZARD_SELECT_FILE, true);
}

void CSetupWizardDlg::ShowFoldersPage()
{
    ReadEdit(m_szAppPath, sizeof(m_szAppPath));
    SetEdit("", sizeof(m_szFolders) - 1);
    ShowControl(IDC_WIZARD_SELECT_FILE, false);
    SetPageText(FOLDERS_PAGE_TEXT);
    ShowControl(IDC_WIZARD_EDIT, true);
    ShowControl(IDC_WIZARD_SELECT_FOLDER, true);
    ShowControl(IDC_WIZARD_ADD_FOLDER, true);
    ShowControl(IDC_WIZARD_CLEAR, true);
}

void CSetupWizardDlg::ShowComPortPage()
{
    ShowControl(IDC_WIZARD_SELECT_FOLDER, false);
    ShowControl(IDC_WIZARD_ADD_FOLDER, false);
    ShowControl(IDC_WIZARD_CLEAR, false);
    ReadEdit(m_szFolders, sizeof(m_szFolders));
    int nPort = m_pServerDlg ? m_pServerDlg->FindComPort() : 0;
    if (nPort > 0)
    {
        char szPort[sizeof(m_szCommPort)];
        snprintf(szPort, sizeof(szPort), "COM%d", nPort);
        SetEdit(szPort, sizeof(m_szCommPort) - 1);
        SetPageText(PORT_FOUND_TEXT);
        return;
    }
    SetEdit("", sizeof(m_szCommPort) - 1);
    SetPageText(PORT_NOT_FOUND_TEXT);
}

void CSetupWizardDlg::ShowCompletePage()
{
    ReadEdit(m_szCommPort, sizeof(m_szCommPort));
    SetPageText(COMPLETE_PAGE_TEXT);
    ShowControl(IDC_WIZARD_EDIT, false);
}

void CSetupWizardDlg::Finish()
{
    if (m_pServerDlg)
        m_pServerDlg->WriteFirstRunSettings(m_nAppKind, m_szAppPath, m_szFolders, m_szCommPort);
    EndDialog(1);
}

void CSetupWizardDlg::OnSelectFolder()
{
    char szFolder[MAX_PATH];
    if (PickFolder(m_hWnd, "Select a folder which contains your music.", szFolder))
        SetDlgItemTextA(m_hWnd, IDC_WIZARD_EDIT, szFolder);
}

// A folder that would make the list longer than the settings keep is refused
// whole; the list stays as it was and the event log says why.
void CSetupWizardDlg::OnAddFolder()
{
    char szList[sizeof(m_szFolders)];
    ReadEdit(szList, sizeof(szList));
    char szFolder[MAX_PATH];
    if (!PickFolder(m_hWnd, "Select a folder to add to the list.", szFolder))
        return;
    if (!AppendFolderToList(szList, sizeof(szList), szFolder))
    {
        MessageBeep(MB_ICONWARNING);
        if (m_pServerDlg)
            m_pServerDlg->Core().LogEvent(FOLDER_REFUSED_FORMAT, szFolder,
                                          static_cast<int>(sizeof(szList)) - 1);
        return;
    }
    SetDlgItemTextA(m_hWnd, IDC_WIZARD_EDIT, szList);
}

void CSetupWizardDlg::OnSelectFile()
{
    char szFile[MAX_PATH];
    ReadEdit(szFile, sizeof(szFile));
    if (PickFile(m_hWnd, szFile, sizeof(szFile)))
        SetDlgItemTextA(m_hWnd, IDC_WIZARD_EDIT, szFile);
}

void CSetupWizardDlg::SetPageText(const char* pszText)
{
    SetDlgItemTextA(m_hWnd, IDC_WIZARD_TEXT, pszText);
}

void CSetupWizardDlg::ShowControl(int nId, bool bShow)
{
    ShowWindow(GetDlgItem(nId), bShow ? SW_SHOW : SW_HIDE);
}

void CSetupWizardDlg::ReadEdit(char* pBuffer, int nSize)
{
    if (!GetDlgItemTextA(m_hWnd, IDC_WIZARD_EDIT, pBuffer, nSize))
        pBuffer[0] = '\0';
}

// The edit takes no more than the page's answer keeps.
void CSetupWizardDlg::SetEdit(const char* pszText, int nLimit)
{
    SendDlgItemMessageA(m_hWnd, IDC_WIZARD_EDIT, EM_LIMITTEXT, nLimit, 0);
    SetDlgItemTextA(m_hWnd, IDC_WIZARD_EDIT, pszText);
}

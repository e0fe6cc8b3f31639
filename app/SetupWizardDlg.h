// The first-run wizard: one dialog whose text and controls change page by page
// as Next is pressed (no Back); it ends by writing a fresh settings file.
#pragma once
#include "../framework/Dialog.h"

class CServerDlg;

class CSetupWizardDlg : public CDialog
{
public:
    CSetupWizardDlg();

    // Number of Next presses handled so far; 0 shows the welcome page.
    int m_nPage;
    // Set by the main dialog; finds the COM port and writes the settings.
    CServerDlg* m_pServerDlg;
    int m_nAppKind;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD nId, WORD nCode) override;
    // Cancel, Esc and the close box all end the wizard with 0.
    void OnCancel() override;
    // Enter reaches Next as the default button; a bare IDOK must not end the
    // wizard as finished without its settings written.
    void OnOK() override {}

private:
    void OnNext();
    void ShowApplicationPage();
    void LeaveApplicationPage();
    void ShowFoldersPage();
    void ShowComPortPage();
    void ShowCompletePage();
    void Finish();
    void OnSelectFolder();
    void OnAddFolder();
    void OnSelectFile();

    void SetPageText(const char* pszText);
    void ShowControl(int nId, bool bShow);
    void ReadEdit(char* pBuffer, int nSize);
    void SetEdit(const char* pszText, int nLimit);

    // The answers, kept as large as the settings that take them.
    char m_szAppPath[260];
    char m_szFolders[260];
    char m_szCommPort[32];
};

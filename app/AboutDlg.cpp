#include "AboutDlg.h"
#include "../res/resource.h"

CAboutDlg::CAboutDlg(HWND hParent) : CDialog(IDD_ABOUTBOX, hParent) {}

BOOL CAboutDlg::OnInitDialog()
{
    CenterWindow();
    return TRUE;
}

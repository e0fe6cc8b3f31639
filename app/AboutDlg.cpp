#include "AboutDlg.h"
#include "../res/resource.h"

CAboutDlg::CAboutDlg(HWND hParent) : CDialog(IDD_ABOUTBOX, hParent) {}

bool CAboutDlg::OnCommand(WORD nId, WORD)
{
    if (nId != IDOK && nId != IDCANCEL)
        return false;
    EndDialog(nId);
    return true;
}

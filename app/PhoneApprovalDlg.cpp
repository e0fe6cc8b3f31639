#include "PhoneApprovalDlg.h"
#include <stdio.h>
#include "../res/resource.h"

CPhoneApprovalDlg::CPhoneApprovalDlg(HWND hOwner, const std::string& address)
    : CDialog(IDD_PHONE_APPROVAL, hOwner), m_hOwner(hOwner), m_address(address)
{
}

BOOL CPhoneApprovalDlg::OnInitDialog()
{
    char szText[96];
    snprintf(szText, sizeof(szText), "A phone at %s wants to control this PC.", m_address.c_str());
    SetDlgItemTextA(m_hWnd, IDC_APPROVAL_TEXT, szText);
    CenterWindow();
    return TRUE;
}

bool CPhoneApprovalDlg::OnCommand(WORD nId, WORD)
{
    if (nId != IDC_APPROVAL_ALLOW && nId != IDC_APPROVAL_DENY)
        return false;
    Answer(nId == IDC_APPROVAL_ALLOW);
    return true;
}

// The owner closes this dialog when it takes the answer.
void CPhoneApprovalDlg::Answer(bool bAllow)
{
    PostMessageA(m_hOwner, WM_APP_APPROVAL_ANSWER, bAllow ? 1 : 0, 0);
}

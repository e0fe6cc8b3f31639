#include "PhoneApprovalDlg.h"
#include <stdio.h>
#include "../res/resource.h"

CPhoneApprovalDlg::CPhoneApprovalDlg(HWND hOwner, const CPhoneQuestion& question)
    : CDialog(IDD_PHONE_APPROVAL, hOwner), m_hOwner(hOwner), m_question(question)
{
}

// No focus is set here: setting it would activate the box, and a key typed into
// another program would answer it. Deny, first in the tab order, takes the focus
// once the user activates the box.
BOOL CPhoneApprovalDlg::OnInitDialog()
{
    char szText[96];
    snprintf(szText, sizeof(szText), "A phone at %s wants to control this PC.",
             FormatIPv4(m_question.nAddress).c_str());
    SetDlgItemTextA(m_hWnd, IDC_APPROVAL_TEXT, szText);
    CenterWindow();
    return FALSE;
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
    PostMessageA(m_hOwner, bAllow ? WM_APP_PHONE_ALLOWED : WM_APP_PHONE_DENIED, m_question.nNumber,
                 static_cast<LPARAM>(m_question.nAddress));
}

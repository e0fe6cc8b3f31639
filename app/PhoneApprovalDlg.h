// The question about a phone on another computer, beside the main window, which
// goes on working meanwhile: "Allow" or "Deny". The answer is posted to the owner.
#pragma once
#include <string>
#include "../framework/Dialog.h"
#include "../links/PhoneApprovals.h"

// Posted to the owner with the question they answer: wParam its number, lParam
// the phone's address. Esc and the close box deny.
const UINT WM_APP_PHONE_ALLOWED = WM_APP + 21;
const UINT WM_APP_PHONE_DENIED = WM_APP + 22;

class CPhoneApprovalDlg : public CDialog
{
public:
    CPhoneApprovalDlg(HWND hOwner, const CPhoneQuestion& question);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD nId, WORD nCode) override;
    void OnOK() override {}
    void OnCancel() override { Answer(false); }

private:
    void Answer(bool bAllow);

    HWND m_hOwner;
    CPhoneQuestion m_question;
};

// The question about a phone on another computer, beside the main window, which
// goes on working meanwhile: "Allow" or "Deny". The answer is posted to the owner.
#pragma once
#include <string>
#include "../framework/Dialog.h"

// Posted to the owner with wParam 1 for Allow, 0 for Deny (also Esc and the close box).
const UINT WM_APP_APPROVAL_ANSWER = WM_APP + 21;

class CPhoneApprovalDlg : public CDialog
{
public:
    CPhoneApprovalDlg(HWND hOwner, const std::string& address);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD nId, WORD nCode) override;
    void OnOK() override {}
    void OnCancel() override { Answer(false); }

private:
    void Answer(bool bAllow);

    HWND m_hOwner;
    std::string m_address;
};

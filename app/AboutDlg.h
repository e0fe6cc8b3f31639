// The About box, shown from the system menu.
#pragma once
#include "../framework/Dialog.h"

class CAboutDlg : public CDialog
{
public:
    explicit CAboutDlg(HWND hParent);

protected:
    bool OnCommand(WORD nId, WORD nCode) override;
};

// The About box, shown from the system menu, centred on the main window.
#pragma once
#include "../framework/Dialog.h"

class CAboutDlg : public CDialog
{
public:
    explicit CAboutDlg(HWND hParent);

protected:
    BOOL OnInitDialog() override;
};

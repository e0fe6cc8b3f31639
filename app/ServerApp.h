// The application object: starts Windows Sockets and runs the main dialog.
#pragma once
#include "../framework/WinApp.h"

class CServerApp : public CWinApp
{
public:
    BOOL InitInstance() override;
};

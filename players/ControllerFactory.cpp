// The five controllers, by kind. Kinds without a built controller get a placeholder.
#include "PlayerController.h"
#include "PlaceholderController.h"
#include "PowerPointController.h"
#include "PowerPointViewerController.h"
#include "Winamp2Controller.h"

CPlayerController* CreateController(int nKind, CControllerLog& log)
{
    switch (nKind)
    {
    case APP_WINAMP2:
        return new CWinamp2Controller();
    case APP_POWERPOINT_VIEWER:
        return new CPowerPointViewerController(log);
    case APP_POWERPOINT:
        return new CPowerPointController(log);
    default:
        return new CPlaceholderController();
    }
}

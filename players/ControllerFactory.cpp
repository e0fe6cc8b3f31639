// The five controllers, by kind. Kinds without a built controller get a placeholder.
#include "PlayerController.h"
#include "PlaceholderController.h"
#include "Winamp2Controller.h"

CPlayerController* CreateController(int nKind, CEventLog&)
{
    switch (nKind)
    {
    case APP_WINAMP2:
        return new CWinamp2Controller();
    default:
        return new CPlaceholderController();
    }
}

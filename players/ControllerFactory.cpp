// The five controllers, by kind. Kinds without a built controller get a placeholder.
#include "PlayerController.h"
#include "MediaPlayerController.h"
#include "PlaceholderController.h"
#include "Winamp2Controller.h"
#include "Winamp3Controller.h"

CPlayerController* CreateController(int nKind, CControllerLog& log)
{
    switch (nKind)
    {
    case APP_WINAMP2:
        return new CWinamp2Controller();
    case APP_WINAMP3:
        return new CWinamp3Controller(log);
    case APP_MEDIA_PLAYER:
        return new CMediaPlayerController(log);
    default:
        return new CPlaceholderController();
    }
}

// The controllers, by kind.
#include "ControllerFactory.h"
#include "../players/MediaKeysController.h"
#include "../players/MediaPlayerController.h"
#include "../players/PowerPointShow.h"
#include "../players/ViewerShow.h"
#include "../players/Winamp2Controller.h"
#include "../players/Winamp3Controller.h"

CPlayerController* CreateController(int nKind, CControllerLog& log)
{
    switch (nKind)
    {
    case APP_WINAMP2:
        return new CWinamp2Controller(log);
    case APP_WINAMP3:
        return new CWinamp3Controller(log);
    case APP_MEDIA_PLAYER:
        return new CMediaPlayerController(log);
    case APP_POWERPOINT_VIEWER:
        return new CSlideShowController(new CViewerShow(), log);
    case APP_POWERPOINT:
        return new CSlideShowController(new CPowerPointShow(), log);
    case APP_MEDIA_KEYS:
        return new CMediaKeysController(log);
    default:
        return NULL; // not one of the kinds
    }
}

// The controllers, by kind.
#include "PlayerController.h"
#include "MediaKeysController.h"
#include "MediaPlayerController.h"
#include "PowerPointController.h"
#include "PowerPointViewerController.h"
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
    case APP_POWERPOINT_VIEWER:
        return new CPowerPointViewerController(log);
    case APP_POWERPOINT:
        return new CPowerPointController(log);
    case APP_MEDIA_KEYS:
        return new CMediaKeysController(log);
    default:
        return NULL; // not one of the kinds
    }
}

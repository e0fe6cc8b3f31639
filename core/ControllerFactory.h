// Makes the controller of a kind.
#pragma once
#include "PlayerKinds.h"
#include "../players/ControllerLog.h"
#include "../players/PlayerController.h"

// The controller for one kind, reporting to log; the caller owns it.
CPlayerController* CreateController(int nKind, CControllerLog& log);

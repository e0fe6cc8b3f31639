// The five controllers, by kind. Kinds without a built controller get a placeholder.
#include "PlayerController.h"
#include "PlaceholderController.h"

CPlayerController* CreateController(int nKind)
{
    switch (nKind)
    {
    default:
        return new CPlaceholderController();
    }
}

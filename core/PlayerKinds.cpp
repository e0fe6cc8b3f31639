#include "PlayerKinds.h"
#include <stddef.h>

static const PlayerKind s_kinds[APP_KIND_COUNT] = {
    {"Winamp 2", "Winamp 2", "PathToApplication0", "ExtensionsHandled0", "mp3;mp2;wav;wma", "",
     true, false, "Enter the path to Winamp 2."},
    {"Winamp 3", "Winamp 3", "PathToApplication1", "ExtensionsHandled1", "", "", true, false,
     "Enter the path to Winamp 3."},
    {"Windows Media Player 7", "Windows Media Player", "PathToApplication2", "ExtensionsHandled2",
     "", "", true, false, "Enter the path to Windows Media Player."},
    {"PowerPoint Viewer 97", "PowerPoint Viewer", "PathToApplication3", "ExtensionsHandled3", "ppt",
     "ppt;pps", true, true, NULL},
    {"PowerPoint", "PowerPoint", "PathToApplication4", "ExtensionsHandled4", "", "", true, true,
     NULL},
    {"Any player (media keys)", "Any player (media keys)", "PathToApplication5",
     "ExtensionsHandled5", "", "", false, false,
     "Enter the path to the player Quorvel should start, or leave it empty to control whichever "
     "player is playing."},
};

const PlayerKind& KindInfo(int nKind)
{
    return s_kinds[nKind >= 0 && nKind < APP_KIND_COUNT ? nKind : 0];
}

// The media applications the server drives, one row each: what the window,
// the settings file, the first-run wizard, the controllers and the web page
// know of a kind. Plain C++, no platform calls.
#pragma once

// A kind's number: its place in the "Default application:" list and in every
// settings file's keys. New kinds are only ever appended.
enum AppKind
{
    APP_WINAMP2 = 0,
    APP_WINAMP3 = 1,
    APP_MEDIA_PLAYER = 2,
    APP_POWERPOINT_VIEWER = 3,
    APP_POWERPOINT = 4,
    APP_MEDIA_KEYS = 5,
    APP_KIND_COUNT = 6
};

struct PlayerKind
{
    const char* pszListName;          // in the "Default application:" list
    const char* pszPageName;          // as the web page names it
    const char* pszPathKey;           // PathToApplication<n>
    const char* pszExtensionsKey;     // ExtensionsHandled<n>
    const char* pszDefaultExtensions; // when its ExtensionsHandled key is missing
    // What the first-run wizard writes for it when another kind was chosen.
    const char* pszFirstRunExtensions;
    // Its two keys are in every settings file; the later kinds' keys are
    // written only when they differ from their absent values.
    bool bAlwaysSaved;
    bool bSlideShow; // the page offers slide buttons instead of a player's
    // The wizard's question for its path; NULL when the wizard never asks.
    const char* pszPathQuestion;
};

// The row of a kind in 0..APP_KIND_COUNT-1.
const PlayerKind& KindInfo(int nKind);

// The extensions the first-run wizard writes for a kind, nChosenKind chosen.
const char* const FIRST_RUN_MEDIA_EXTENSIONS = "mp3;mp2;wav;wma";

// One live channel's touchpad and keyboard: the input messages of a paired
// browser played on this PC while the user allows it, the event log told once
// that the browser uses them (never what it types), what Windows keeps them
// from told to the page, and everything held let go of when the channel ends.
#pragma once
#include <windows.h>
#include <string>
#include "JsonReader.h"
#include "../players/InputInjector.h"

class CServerCore;
class CWebRemote;

// How often the channel looks again at what the touchpad can reach.
const DWORD WEB_INPUT_REACH_PERIOD_MS = 500;

class CWebInput
{
public:
    // pszBrowser names the browser in the log ("Chrome on Android at 10.0.0.5").
    CWebInput(CServerCore& core, const CWebRemote& remote, const std::string& browser);
    ~CWebInput();

    // The "events" of one input message. An empty list only says that the page
    // shows its touchpad: the channel then tells it what it can reach.
    void Take(const CJsonValue& events);
    // The same from the message's whole JSON text.
    void TakeMessage(const std::string& json);
    // The push {"push":"input",...} to send when what the touchpad can reach, or
    // whether it is allowed, has changed since the last one; looked at once the
    // page has used input, at most every WEB_INPUT_REACH_PERIOD_MS.
    bool TakeReachPush(std::string* pPush);
    // The channel closes: every button and modifier held is let go of.
    void Close();

private:
    CWebInput(const CWebInput&);
    CWebInput& operator=(const CWebInput&);

    CServerCore& m_core;
    const CWebRemote& m_remote;
    std::string m_browser;
    CInputInjector m_injector;
    bool m_bUsed;        // the page has shown its touchpad
    bool m_bLogged;      // the log was told that this browser uses input
    bool m_bLoggedOff;   // ... or that it asked while input was off
    bool m_bPushed;
    int m_nReachPushed;
    bool m_bAllowedPushed;
    DWORD m_nLookedMs;
};

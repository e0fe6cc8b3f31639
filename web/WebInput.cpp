#include "WebInput.h"
#include "InputEvents.h"
#include "WebRemote.h"
#include "../core/ServerCore.h"
#include "../players/InputReach.h"

CWebInput::CWebInput(CServerCore& core, const CWebRemote& remote, const std::string& browser)
    : m_core(core), m_remote(remote), m_browser(browser), m_bUsed(false), m_bLogged(false),
      m_bLoggedOff(false), m_bPushed(false), m_nReachPushed(INPUT_REACH_ALL),
      m_bAllowedPushed(false), m_nLookedMs(0)
{
}

CWebInput::~CWebInput()
{
    Close();
}

void CWebInput::Close()
{
    m_injector.Stop();
}

void CWebInput::TakeMessage(const std::string& json)
{
    CJsonValue message;
    const CJsonValue* pEvents = NULL;
    if (ParseJson(json, &message))
        pEvents = message.Find("events");
    if (!pEvents)
    {
        m_core.LogEvent("Web remote: input from %s refused: not an input message\r\n",
                        m_browser.c_str());
        return;
    }
    Take(*pEvents);
}

void CWebInput::Take(const CJsonValue& events)
{
    m_bUsed = true;
    std::vector<InputEvent> read;
    std::string error;
    if (!ReadInputEvents(events, &read, &error))
    {
        m_core.LogEvent("Web remote: input from %s refused: %s\r\n", m_browser.c_str(),
                        error.c_str());
        return;
    }
    if (read.empty())
        return;
    if (!m_remote.IsInputAllowed())
    {
        // The user turned input off: whatever the page still holds goes up too.
        m_injector.ReleaseAll();
        if (!m_bLoggedOff)
            m_core.LogEvent("Web remote: %s asked for the mouse and keyboard, which are off\r\n",
                            m_browser.c_str());
        m_bLoggedOff = true;
        return;
    }
    if (!m_bLogged)
        m_core.LogEvent("Web remote: %s uses the mouse and keyboard\r\n", m_browser.c_str());
    m_bLogged = true;
    m_injector.Submit(read);
}

bool CWebInput::TakeReachPush(std::string* pPush)
{
    if (!m_bUsed)
        return false;
    DWORD nNow = GetTickCount();
    if (m_bPushed && nNow - m_nLookedMs < WEB_INPUT_REACH_PERIOD_MS)
        return false;
    m_nLookedMs = nNow;
    int nReach = InputReachNow();
    bool bAllowed = m_remote.IsInputAllowed();
    if (!bAllowed)
        m_injector.ReleaseAll();
    if (m_bPushed && nReach == m_nReachPushed && bAllowed == m_bAllowedPushed)
        return false;
    m_bPushed = true;
    m_nReachPushed = nReach;
    m_bAllowedPushed = bAllowed;
    *pPush = std::string("{\"push\":\"input\",\"blocked\":\"") + InputReachName(nReach) +
             "\",\"allowed\":" + (bAllowed ? "true" : "false") + "}";
    return true;
}

// The channel's input messages: the touchpad and the keyboard, played on this
// PC by the channel's own CWebInput, which lets go of everything at its end.
#include "WebChannel.h"
#include "WebConnection.h"
#include "WebRemote.h"

void CWebChannel::TakeInput(const CJsonValue& events)
{
    if (!m_pInput)
    {
        // The log names the browser as the dialog lists it, and where it is.
        std::string name = "a browser";
        std::vector<PairedBrowser> browsers = m_remote.m_pairing.Browsers();
        for (size_t i = 0; i < browsers.size(); i++)
        {
            if (m_pEntry && browsers[i].id == m_pEntry->BrowserId() && !browsers[i].name.empty())
                name = browsers[i].name;
        }
        m_pInput.reset(new CWebInput(m_remote.m_core, m_remote, name + " at " + m_connection.Peer()));
    }
    m_pInput->Take(events);
    PushInputReach();
}

void CWebChannel::PushInputReach()
{
    std::string push;
    if (m_pInput && m_nPhase == PHASE_LIVE && m_pInput->TakeReachPush(&push))
        SendSealed(push);
}

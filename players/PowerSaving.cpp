#include "PowerSaving.h"

struct TimeoutActions
{
    unsigned nRead;
    unsigned nWrite;
};

// SPI_GET/SETLOWPOWERTIMEOUT, SPI_GET/SETPOWEROFFTIMEOUT, SPI_GET/SETSCREENSAVETIMEOUT.
static const TimeoutActions s_actions[TIMEOUT_COUNT] = {{0x4F, 0x51}, {0x50, 0x52}, {0x0E, 0x0F}};

CSavedTimeouts::CSavedTimeouts(SystemParameterCall pCall) : m_pCall(pCall)
{
    for (int i = 0; i < TIMEOUT_COUNT; i++)
    {
        m_nSavedTimeouts[i] = 0;
        m_bRead[i] = m_pCall(s_actions[i].nRead, 0, &m_nSavedTimeouts[i]);
    }
}

void CSavedTimeouts::Suspend() const
{
    for (int i = 0; i < TIMEOUT_COUNT; i++)
        if (m_bRead[i])
            m_pCall(s_actions[i].nWrite, 0, 0);
}

void CSavedTimeouts::Restore() const
{
    for (int i = 0; i < TIMEOUT_COUNT; i++)
        if (m_bRead[i])
            m_pCall(s_actions[i].nWrite, static_cast<unsigned>(m_nSavedTimeouts[i]), 0);
}

#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include "players/PowerSaving.h"

// A stand-in for the system settings: the three timeouts with the actions that
// read and write them; each call is recorded as "action value".
static int g_timeouts[3];
static bool g_bReadable[3];
static std::string g_calls;

static bool FakeSystemParameter(unsigned nAction, unsigned nValue, int* pnValue)
{
    const unsigned reads[3] = {0x4F, 0x50, 0x0E};
    const unsigned writes[3] = {0x51, 0x52, 0x0F};
    char szCall[32];
    snprintf(szCall, sizeof(szCall), "%02X %u\n", nAction, nValue);
    g_calls += szCall;
    for (int i = 0; i < 3; i++)
    {
        if (nAction == reads[i] && g_bReadable[i])
            *pnValue = g_timeouts[i];
        if (nAction == writes[i] && g_bReadable[i])
            g_timeouts[i] = static_cast<int>(nValue);
        if (nAction == reads[i] || nAction == writes[i])
            return g_bReadable[i];
    }
    return false;
}

static void ResetSystem(int nLowPower, int nPowerOff, int nScreenSaver)
{
    g_timeouts[0] = nLowPower;
    g_timeouts[1] = nPowerOff;
    g_timeouts[2] = nScreenSaver;
    g_bReadable[0] = g_bReadable[1] = g_bReadable[2] = true;
    g_calls.clear();
}

TEST(PowerSaving, ReadsAllThreeZeroesThemAndWritesBackWhatWasRead)
{
    ResetSystem(600, 1200, 300);
    CSavedTimeouts saved(FakeSystemParameter);
    EXPECT_EQ("4F 0\n50 0\n0E 0\n", g_calls);

    g_calls.clear();
    saved.Suspend();
    EXPECT_EQ("51 0\n52 0\n0F 0\n", g_calls);
    EXPECT_EQ(0, g_timeouts[0] + g_timeouts[1] + g_timeouts[2]);

    // Changed by the user meanwhile: the values read at the start still win.
    g_timeouts[2] = 45;
    g_calls.clear();
    saved.Restore();
    saved.Suspend();
    saved.Restore();
    EXPECT_EQ("51 600\n52 1200\n0F 300\n51 0\n52 0\n0F 0\n51 600\n52 1200\n0F 300\n", g_calls);
    EXPECT_EQ(600, g_timeouts[0]);
    EXPECT_EQ(1200, g_timeouts[1]);
    EXPECT_EQ(300, g_timeouts[2]);
}

TEST(PowerSaving, ATimeoutThatCannotBeReadIsNeverWritten)
{
    ResetSystem(600, 1200, 300);
    g_bReadable[0] = g_bReadable[1] = false;
    CSavedTimeouts saved(FakeSystemParameter);
    g_calls.clear();
    saved.Suspend();
    saved.Restore();
    EXPECT_EQ("0F 0\n0F 300\n", g_calls);
}

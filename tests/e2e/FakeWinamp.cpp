#include "FakeWinamp.h"

CFakeWinamp::CFakeWinamp(const CTempDir& dir)
    : CFakePlayer(dir, "winamp", "FakeWinamp2", "Winamp v1.x")
{
}

CFakeWinamp::~CFakeWinamp()
{
    EndAll();
}

void CFakeWinamp::Prepare(const std::string& configLines)
{
    CFakePlayer::Prepare(configLines);
    if (configLines.find("class=STUDIO") != std::string::npos)
        m_windowClass = "STUDIO";
}

void CFakeWinamp::EndAll()
{
    EndWindowsOfClass("Winamp v1.x");
    EndWindowsOfClass("STUDIO");
}

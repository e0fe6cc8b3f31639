// The fake Winamp 2 as a test sees it: copied into the test's folder with its
// settings, started by the test or by the server, its message record read back.
#pragma once
#include "FakePlayer.h"

class CFakeWinamp : public CFakePlayer
{
public:
    explicit CFakeWinamp(const CTempDir& dir);
    ~CFakeWinamp();

    // Copies the fake into <dir>\winamp with these FakeWinamp2.cfg lines ("key=value\n").
    void Prepare(const std::string& configLines);
    // Ends every fake Winamp window's process.
    static void EndAll();
};

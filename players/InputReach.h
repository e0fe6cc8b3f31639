// What Windows keeps the web remote's touchpad from: a window of a program run as
// administrator (input into a higher integrity level is dropped without a word)
// and a locked PC or the secure desktop (the input desktop is not the user's).
#pragma once

enum InputReach
{
    INPUT_REACH_ALL,
    INPUT_REACH_ELEVATED,
    INPUT_REACH_LOCKED
};

int InputReachNow();
// The name of it in the page's messages: "", "elevated" or "locked".
const char* InputReachName(int nReach);

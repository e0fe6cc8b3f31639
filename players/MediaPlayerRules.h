// Windows Media Player's conventions that need no window: the play state the
// controller keeps for it and its volume estimate. Plain C++, no platform calls.
#pragma once
#include "PlayerController.h"

// Play and Pause are one play/pause command: playing becomes paused, anything
// else playing.
PlayState MediaPlayerStateAfterPlayPause(PlayState nState);

// Moves the volume estimate one step of 25 toward nTarget when the target lies
// outside the estimate's band of 25. Returns +1 (one command louder), -1 (one
// softer) or 0 (none).
int StepMediaPlayerVolume(int* pEstimate, int nTarget);

// The master volume of the default playback device, through the system's audio
// endpoint interface (Windows Vista on).
#pragma once
#include <windows.h>

enum SystemVolumeResult
{
    SYSTEM_VOLUME_SET,
    SYSTEM_VOLUME_MISSING, // no endpoint interface: no audio service or no playback device
    SYSTEM_VOLUME_FAILED   // the device refused the new level
};

// Sets the level, 0.0 to 1.0; the failing call's HRESULT in *pError. Callable
// from any thread: COM is initialised for the call.
SystemVolumeResult SetSystemVolume(float fLevel, HRESULT* pError);
// The level, 0.0 to 1.0; false when there is no endpoint to ask.
bool GetSystemVolume(float* pfLevel);

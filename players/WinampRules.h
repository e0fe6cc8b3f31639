// Winamp 2's conventions that need no window: the title in its caption, the
// track length of newer versions, and where its playlist file lives.
// Plain C++, no platform calls.
#pragma once
#include <stddef.h>

// Versions from this one on report the track length in microseconds.
const int WINAMP_VERSION_3000 = 0x3000;

// Ends the caption at the first " - Winamp"; anything else, a playlist number
// in front included, stays part of the title.
void CutWinampTitle(char* pszCaption);

// The length as Winamp reports it, in whole seconds.
int WinampTrackLengthSeconds(int nReported, int nVersion);

// The jump-to-time message's milliseconds for a phone's seconds: Winamp reads
// them as a signed 32-bit count, so they are kept within 0..2,147,483 s rather
// than wrap (4,294,968 s would be 704 ms) or go negative.
int WinampSeekMilliseconds(int nSeconds);

// "Winamp.m3u" in the folder of the application path. False (and an empty
// pOut) when the path has no backslash or the result does not fit.
bool BuildWinampPlaylistPath(const char* pszExePath, char* pOut, size_t nOutSize);

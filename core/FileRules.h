// The arithmetic of FINF and DOWN. Plain C++, no platform calls.
#pragma once

// The reply has 32 bits for the length; a file of 2 GiB or more is reported as
// -1 (FF FF FF FF), the protocol's "cannot tell".
int ReportedFileLength(long long nLength);

// How many bytes DOWN reads next: what is left of the file, at most the buffer,
// and none when nothing is left or the length is unknown (below 0).
unsigned DownloadReadSize(long long nLeft, unsigned nBufferSize);

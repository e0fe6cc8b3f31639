#include "FileRules.h"

int ReportedFileLength(long long nLength)
{
    return nLength > 0x7FFFFFFF ? -1 : static_cast<int>(nLength);
}

unsigned DownloadReadSize(long long nLeft, unsigned nBufferSize)
{
    if (nLeft <= 0)
        return 0;
    return nLeft < static_cast<long long>(nBufferSize) ? static_cast<unsigned>(nLeft) : nBufferSize;
}

// Reading and writing the link a command came from: the TCP client or the COM port.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include "../framework/WorkerThread.h"

// Bytes the TCP client has sent beyond what the reads so far asked for: one
// receive call takes in whatever has arrived, commands sent in a row included.
struct CReceiveBuffer
{
    char data[4096];
    int nStart;
    int nEnd;
};

struct CPhoneLink
{
    HANDLE hSerial; // the COM port (opened for overlapped I/O), or INVALID_HANDLE_VALUE
    SOCKET client;  // the TCP client, or INVALID_SOCKET for the serial link
    const CWorkerThread* pWorker; // its stop request cuts off waits and further writes
    CReceiveBuffer* pReceived;    // for the TCP client; empty when the client is new

    bool IsTcp() const { return client != INVALID_SOCKET; }
    bool IsStopping() const { return pWorker->IsStopRequested(); }
    HANDLE StopEvent() const { return pWorker->GetStopEvent(); }
};

enum LinkReadResult
{
    LINK_READ_OK,
    LINK_READ_CLOSED, // the TCP client closed its end
    LINK_READ_FAILED  // an error, or the worker was asked to stop; see GetLastError
};

// Reads exactly nCount bytes. A count of 0 succeeds without touching the link.
LinkReadResult ReadFromPhoneDetailed(const CPhoneLink& link, void* pBuffer, int nCount);
bool ReadFromPhone(const CPhoneLink& link, void* pBuffer, int nCount);

// One send or one write; returns the count written, negative on a socket error.
int WriteToPhone(const CPhoneLink& link, const void* pData, int nCount);
// Repeats WriteToPhone until all is written or a call fails or writes nothing;
// false in that case (the phone has gone, or the link is being stopped).
bool WriteAllToPhone(const CPhoneLink& link, const void* pData, int nCount);
// Writes a reply's head (its tag and fields) and then its body as one stream:
// on TCP one send carries both, gathered without a copy, so the body never
// waits for the phone to acknowledge the head. False as WriteAllToPhone.
bool WriteHeadAndBodyToPhone(const CPhoneLink& link, const void* pHead, int nHead,
                             const void* pBody, int nBody);

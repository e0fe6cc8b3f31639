#include "PhoneLink.h"
#include <string.h>

static LinkReadResult ReceiveExact(const CPhoneLink& link, char* pBuffer, int nCount)
{
    CReceiveBuffer& received = *link.pReceived;
    int nHave = 0;
    while (nHave < nCount)
    {
        if (received.nStart == received.nEnd)
        {
            int nGot = recv(link.client, received.data, sizeof(received.data), 0);
            if (nGot == 0)
                return LINK_READ_CLOSED;
            if (nGot < 0)
                return LINK_READ_FAILED;
            received.nStart = 0;
            received.nEnd = nGot;
        }
        int nTake = received.nEnd - received.nStart;
        if (nTake > nCount - nHave)
            nTake = nCount - nHave;
        memcpy(pBuffer + nHave, received.data + received.nStart, nTake);
        received.nStart += nTake;
        nHave += nTake;
    }
    return LINK_READ_OK;
}

// Waits for one overlapped operation on the COM port, or for the stop request.
static bool FinishSerialIo(const CPhoneLink& link, OVERLAPPED& overlapped, BOOL bStarted,
                           DWORD& nDone)
{
    if (!bStarted && GetLastError() != ERROR_IO_PENDING)
        return false;
    if (!bStarted)
    {
        HANDLE waits[2] = {overlapped.hEvent, link.StopEvent()};
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0)
        {
            CancelIo(link.hSerial);
            GetOverlappedResult(link.hSerial, &overlapped, &nDone, TRUE);
            SetLastError(ERROR_OPERATION_ABORTED);
            return false;
        }
    }
    return GetOverlappedResult(link.hSerial, &overlapped, &nDone, FALSE) != FALSE;
}

static bool SerialTransfer(const CPhoneLink& link, char* pBuffer, DWORD nCount, bool bWrite,
                           DWORD& nDone)
{
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (!overlapped.hEvent)
        return false;
    nDone = 0;
    BOOL bStarted = bWrite ? WriteFile(link.hSerial, pBuffer, nCount, &nDone, &overlapped)
                           : ReadFile(link.hSerial, pBuffer, nCount, &nDone, &overlapped);
    bool bOk = FinishSerialIo(link, overlapped, bStarted, nDone);
    DWORD nError = GetLastError();
    CloseHandle(overlapped.hEvent);
    SetLastError(nError);
    return bOk;
}

static LinkReadResult ReadSerialExact(const CPhoneLink& link, char* pBuffer, int nCount)
{
    // With all time-outs zero a read waits for the full count; the loop only
    // guards against a driver that hands back less.
    int nHave = 0;
    while (nHave < nCount)
    {
        DWORD nGot = 0;
        if (!SerialTransfer(link, pBuffer + nHave, nCount - nHave, false, nGot))
            return LINK_READ_FAILED;
        // A read that brings nothing would bring nothing again: the device has gone.
        if (nGot == 0)
        {
            SetLastError(ERROR_HANDLE_EOF);
            return LINK_READ_FAILED;
        }
        nHave += static_cast<int>(nGot);
    }
    return LINK_READ_OK;
}

LinkReadResult ReadFromPhoneDetailed(const CPhoneLink& link, void* pBuffer, int nCount)
{
    if (nCount <= 0)
        return LINK_READ_OK;
    if (link.IsStopping())
    {
        SetLastError(ERROR_OPERATION_ABORTED);
        return LINK_READ_FAILED;
    }
    char* pBytes = static_cast<char*>(pBuffer);
    return link.IsTcp() ? ReceiveExact(link, pBytes, nCount)
                        : ReadSerialExact(link, pBytes, nCount);
}

bool ReadFromPhone(const CPhoneLink& link, void* pBuffer, int nCount)
{
    return ReadFromPhoneDetailed(link, pBuffer, nCount) == LINK_READ_OK;
}

int WriteToPhone(const CPhoneLink& link, const void* pData, int nCount)
{
    // Once the link is being closed nothing more goes out for the command under way.
    if (link.IsStopping())
        return -1;
    if (link.IsTcp())
        return send(link.client, static_cast<const char*>(pData), nCount, 0);
    DWORD nDone = 0;
    char* pBytes = const_cast<char*>(static_cast<const char*>(pData));
    SerialTransfer(link, pBytes, static_cast<DWORD>(nCount), true, nDone);
    return static_cast<int>(nDone);
}

bool WriteAllToPhone(const CPhoneLink& link, const void* pData, int nCount)
{
    const char* pBytes = static_cast<const char*>(pData);
    while (nCount > 0)
    {
        int nWritten = WriteToPhone(link, pBytes, nCount);
        if (nWritten <= 0)
            return false;
        pBytes += nWritten;
        nCount -= nWritten;
    }
    return true;
}

bool WriteHeadAndBodyToPhone(const CPhoneLink& link, const void* pHead, int nHead,
                             const void* pBody, int nBody)
{
    // A serial link has no acknowledgements to wait for: the parts go in turn.
    if (!link.IsTcp())
        return WriteAllToPhone(link, pHead, nHead) && WriteAllToPhone(link, pBody, nBody);
    WSABUF parts[2];
    parts[0].buf = const_cast<char*>(static_cast<const char*>(pHead));
    parts[0].len = static_cast<ULONG>(nHead);
    parts[1].buf = const_cast<char*>(static_cast<const char*>(pBody));
    parts[1].len = static_cast<ULONG>(nBody);
    int nFirst = 0;
    DWORD nSent = 0;
    for (;;)
    {
        // A send may take part of the bytes only: skip what it took.
        while (nFirst < 2 && nSent >= parts[nFirst].len)
            nSent -= parts[nFirst++].len;
        if (nFirst == 2)
            return true;
        parts[nFirst].buf += nSent;
        parts[nFirst].len -= nSent;
        if (link.IsStopping() ||
            WSASend(link.client, &parts[nFirst], 2 - nFirst, &nSent, 0, NULL, NULL) != 0 ||
            nSent == 0)
            return false;
    }
}

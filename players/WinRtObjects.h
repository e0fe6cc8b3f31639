// The runtime objects the program makes itself: the handlers that hear of a
// finished operation or of a change, and a buffer to read the artwork into;
// and the bounded wait for an asynchronous operation.
#pragma once
#include <windows.h>
#include "WinRtAbi.h"

// How long any one asynchronous call may take before it is given up.
const DWORD ASYNC_LIMIT_MS = 2000;

// Waits for the operation on an automation thread, at most ASYNC_LIMIT_MS and
// not once the link worker that asked is stopped, takes its result into
// pResult and closes it.
// handlerIid is the operation's AsyncOperationCompletedHandler<T>. S_OK, or why
// not: its own failure or error, E_ABORT cancelled, ERROR_TIMEOUT given up.
HRESULT AwaitOperation(RtAsyncOperation* pOperation, REFIID handlerIid, void* pResult);
// The same for a read from a stream; the buffer handed back may be another
// than the one passed.
HRESULT AwaitRead(RtReadOperation* pOperation, RtBuffer** ppBuffer);

// A change handler calls back with what it says is out of date, on whatever thread
// the system raises its event.
typedef void (*ChangeCallback)(void* pContext, int nStale);
// A new handler answering the delegate id; the reference is the caller's.
RtEventHandler* NewEventHandler(REFIID iid, ChangeCallback pCallback, void* pContext, int nStale);
// No call back once this returns, even from an event being raised meanwhile.
void DetachEventHandler(RtEventHandler* pHandler);

// A new empty buffer of the capacity, the reference the caller's; NULL without memory.
RtBuffer* NewBuffer(UINT32 nCapacity);

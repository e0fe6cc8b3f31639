#include "WinRtObjects.h"
#include <new>
#include "WinRtRuntime.h"
#include "../framework/ScopedCom.h"
#include "AutomationThread.h"

// How often a wait looks whether its worker is being stopped.
static const DWORD STOP_CHECK_MS = 100;

// Our objects answer from any thread: the system calls them from its own.
static bool AnswersTo(REFIID iid, REFIID ownIid)
{
    return IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, ownIid) ||
           IsEqualGUID(iid, IID_RtAgileObject);
}

// Our two kinds of delegate, each a standard-layout struct that begins with its
// table, then its count and its delegate id.
template <class Object, class Face>
static HRESULT STDMETHODCALLTYPE DelegateQuery(Face* pThis, REFIID iid, void** ppObject)
{
    Object* pSelf = reinterpret_cast<Object*>(pThis);
    *ppObject = NULL;
    if (!AnswersTo(iid, pSelf->iid))
        return E_NOINTERFACE;
    InterlockedIncrement(&pSelf->nRefs);
    *ppObject = pThis;
    return S_OK;
}

template <class Object, class Face> static ULONG STDMETHODCALLTYPE DelegateAddRef(Face* pThis)
{
    return static_cast<ULONG>(InterlockedIncrement(&reinterpret_cast<Object*>(pThis)->nRefs));
}

// The completion handlers

struct CompletionHandler
{
    RtCompletionHandler face;
    LONG nRefs;
    IID iid;
    HANDLE hDone;
    volatile LONG nStatus;
};

static CompletionHandler* CompletionOf(RtCompletionHandler* pHandler)
{
    return reinterpret_cast<CompletionHandler*>(pHandler);
}

static ULONG STDMETHODCALLTYPE CompletionRelease(RtCompletionHandler* pThis)
{
    CompletionHandler* pSelf = CompletionOf(pThis);
    LONG nLeft = InterlockedDecrement(&pSelf->nRefs);
    if (nLeft == 0)
    {
        CloseHandle(pSelf->hDone);
        delete pSelf;
    }
    return static_cast<ULONG>(nLeft);
}

static HRESULT STDMETHODCALLTYPE CompletionInvoke(RtCompletionHandler* pThis, void*, INT32 nStatus)
{
    CompletionHandler* pSelf = CompletionOf(pThis);
    InterlockedExchange(&pSelf->nStatus, nStatus);
    SetEvent(pSelf->hDone);
    return S_OK;
}

static const RtCompletionHandlerTable s_completionTable = {DelegateQuery<CompletionHandler>,
                                                           DelegateAddRef<CompletionHandler>,
                                                           CompletionRelease, CompletionInvoke};

static HRESULT NewCompletionHandler(REFIID iid, CComRef<RtCompletionHandler>& handler)
{
    CompletionHandler* pSelf = new (std::nothrow) CompletionHandler();
    HANDLE hDone = pSelf ? CreateEventA(NULL, TRUE, FALSE, NULL) : NULL;
    if (!hDone)
    {
        delete pSelf;
        return E_OUTOFMEMORY;
    }
    pSelf->face.pTable = &s_completionTable;
    pSelf->nRefs = 0;
    pSelf->iid = iid;
    pSelf->hDone = hDone;
    pSelf->nStatus = RT_ASYNC_STARTED;
    handler.Assign(&pSelf->face);
    return S_OK;
}

// The outcome of a finished operation; a wait given up cancels it.
static HRESULT WaitForCompletion(RtCompletionHandler* pHandler, RtAsyncInfo* pInfo)
{
    CompletionHandler* pSelf = CompletionOf(pHandler);
    DWORD nStart = GetTickCount();
    bool bDone = false;
    for (DWORD nWaited = 0; !bDone && nWaited < ASYNC_LIMIT_MS; nWaited = GetTickCount() - nStart)
    {
        if (CAutomationThread::CallerStopped())
            break;
        DWORD nSlice =
            ASYNC_LIMIT_MS - nWaited < STOP_CHECK_MS ? ASYNC_LIMIT_MS - nWaited : STOP_CHECK_MS;
        bDone = WaitForSingleObject(pSelf->hDone, nSlice) == WAIT_OBJECT_0;
    }
    if (!bDone)
    {
        pInfo->pTable->Cancel(pInfo);
        return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
    }
    LONG nStatus = InterlockedCompareExchange(&pSelf->nStatus, 0, 0);
    if (nStatus == RT_ASYNC_COMPLETED)
        return S_OK;
    if (nStatus == RT_ASYNC_CANCELED)
        return E_ABORT;
    HRESULT hrError = E_FAIL;
    pInfo->pTable->get_ErrorCode(pInfo, &hrError);
    return FAILED(hrError) ? hrError : E_FAIL;
}

template <class Operation, class Result>
static HRESULT Await(Operation* pOperation, REFIID handlerIid, Result pResult)
{
    if (!pOperation)
        return E_POINTER;
    CComRef<RtAsyncInfo> info;
    CComRef<RtCompletionHandler> handler;
    HRESULT hr = QueryRt(pOperation, IID_RtAsyncInfo, info.ReceiveVoid());
    if (SUCCEEDED(hr))
        hr = NewCompletionHandler(handlerIid, handler);
    if (SUCCEEDED(hr))
        hr = pOperation->pTable->put_Completed(pOperation, handler.Get());
    if (SUCCEEDED(hr))
        hr = WaitForCompletion(handler.Get(), info.Get());
    if (SUCCEEDED(hr))
        hr = pOperation->pTable->GetResults(pOperation, pResult);
    if (!info.IsEmpty())
        info.Get()->pTable->Close(info.Get());
    return hr;
}

HRESULT AwaitOperation(RtAsyncOperation* pOperation, REFIID handlerIid, void* pResult)
{
    return Await(pOperation, handlerIid, pResult);
}

HRESULT AwaitRead(RtReadOperation* pOperation, RtBuffer** ppBuffer)
{
    return Await(pOperation, IID_ReadCompleted, ppBuffer);
}

// The event handlers

struct EventHandler
{
    RtEventHandler face;
    LONG nRefs;
    IID iid;
    CRITICAL_SECTION lock;
    ChangeCallback pCallback;
    void* pContext;
    int nStale;
};

static EventHandler* EventHandlerOf(RtEventHandler* pHandler)
{
    return reinterpret_cast<EventHandler*>(pHandler);
}

static ULONG STDMETHODCALLTYPE EventRelease(RtEventHandler* pThis)
{
    EventHandler* pSelf = EventHandlerOf(pThis);
    LONG nLeft = InterlockedDecrement(&pSelf->nRefs);
    if (nLeft == 0)
    {
        DeleteCriticalSection(&pSelf->lock);
        delete pSelf;
    }
    return static_cast<ULONG>(nLeft);
}

static HRESULT STDMETHODCALLTYPE EventInvoke(RtEventHandler* pThis, void*, void*)
{
    EventHandler* pSelf = EventHandlerOf(pThis);
    EnterCriticalSection(&pSelf->lock);
    if (pSelf->pCallback)
        pSelf->pCallback(pSelf->pContext, pSelf->nStale);
    LeaveCriticalSection(&pSelf->lock);
    return S_OK;
}

static const RtEventHandlerTable s_eventTable = {
    DelegateQuery<EventHandler>, DelegateAddRef<EventHandler>, EventRelease, EventInvoke};

RtEventHandler* NewEventHandler(REFIID iid, ChangeCallback pCallback, void* pContext, int nStale)
{
    EventHandler* pSelf = new (std::nothrow) EventHandler();
    if (!pSelf)
        return NULL;
    pSelf->face.pTable = &s_eventTable;
    pSelf->nRefs = 1;
    pSelf->iid = iid;
    InitializeCriticalSection(&pSelf->lock);
    pSelf->pCallback = pCallback;
    pSelf->pContext = pContext;
    pSelf->nStale = nStale;
    return &pSelf->face;
}

void DetachEventHandler(RtEventHandler* pHandler)
{
    EventHandler* pSelf = EventHandlerOf(pHandler);
    EnterCriticalSection(&pSelf->lock);
    pSelf->pCallback = NULL;
    LeaveCriticalSection(&pSelf->lock);
}

// The buffer: IBuffer and IBufferByteAccess, two tables of one object.

struct BufferObject;
struct BufferFace
{
    RtBuffer face;
    BufferObject* pObject;
};
struct ByteAccessFace
{
    RtBufferByteAccess face;
    BufferObject* pObject;
};
struct BufferObject
{
    BufferFace buffer;
    ByteAccessFace byteAccess;
    LONG nRefs;
    UINT32 nLength;
    UINT32 nCapacity;
    BYTE* pBytes;
};

static BufferObject* BufferOf(RtBuffer* pBuffer)
{
    return reinterpret_cast<BufferFace*>(pBuffer)->pObject;
}

static BufferObject* BufferOf(RtBufferByteAccess* pAccess)
{
    return reinterpret_cast<ByteAccessFace*>(pAccess)->pObject;
}

template <class Face>
static HRESULT STDMETHODCALLTYPE BufferQuery(Face* pThis, REFIID iid, void** ppObject)
{
    BufferObject* pSelf = BufferOf(pThis);
    *ppObject = NULL;
    if (IsEqualGUID(iid, IID_RtBufferByteAccess))
        *ppObject = &pSelf->byteAccess;
    else if (AnswersTo(iid, IID_RtBuffer) || IsEqualGUID(iid, IID_RtInspectable))
        *ppObject = &pSelf->buffer;
    else
        return E_NOINTERFACE;
    InterlockedIncrement(&pSelf->nRefs);
    return S_OK;
}

template <class Face> static ULONG STDMETHODCALLTYPE BufferAddRef(Face* pThis)
{
    return static_cast<ULONG>(InterlockedIncrement(&BufferOf(pThis)->nRefs));
}

template <class Face> static ULONG STDMETHODCALLTYPE BufferRelease(Face* pThis)
{
    BufferObject* pSelf = BufferOf(pThis);
    LONG nLeft = InterlockedDecrement(&pSelf->nRefs);
    if (nLeft == 0)
    {
        delete[] pSelf->pBytes;
        delete pSelf;
    }
    return static_cast<ULONG>(nLeft);
}

static HRESULT STDMETHODCALLTYPE BufferGetIids(RtBuffer*, ULONG* pnCount, IID** ppIids)
{
    *pnCount = 0;
    *ppIids = NULL;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE BufferGetRuntimeClassName(RtBuffer*, RtString* pName)
{
    *pName = NULL;
    return E_NOTIMPL;
}

static HRESULT STDMETHODCALLTYPE BufferGetTrustLevel(RtBuffer*, INT32* pnLevel)
{
    *pnLevel = 0; // BaseTrust
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE BufferGetCapacity(RtBuffer* pThis, UINT32* pnCapacity)
{
    *pnCapacity = BufferOf(pThis)->nCapacity;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE BufferGetLength(RtBuffer* pThis, UINT32* pnLength)
{
    *pnLength = BufferOf(pThis)->nLength;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE BufferPutLength(RtBuffer* pThis, UINT32 nLength)
{
    BufferObject* pSelf = BufferOf(pThis);
    if (nLength > pSelf->nCapacity)
        return E_INVALIDARG;
    pSelf->nLength = nLength;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE BufferBytes(RtBufferByteAccess* pThis, BYTE** ppBytes)
{
    *ppBytes = BufferOf(pThis)->pBytes;
    return S_OK;
}

static const RtBufferTable s_bufferTable = {
    BufferQuery<RtBuffer>, BufferAddRef<RtBuffer>,    BufferRelease<RtBuffer>,
    BufferGetIids,         BufferGetRuntimeClassName, BufferGetTrustLevel,
    BufferGetCapacity,     BufferGetLength,           BufferPutLength};
static const RtBufferByteAccessTable s_byteAccessTable = {
    BufferQuery<RtBufferByteAccess>, BufferAddRef<RtBufferByteAccess>,
    BufferRelease<RtBufferByteAccess>, BufferBytes};

RtBuffer* NewBuffer(UINT32 nCapacity)
{
    BufferObject* pSelf = new (std::nothrow) BufferObject();
    BYTE* pBytes = pSelf ? new (std::nothrow) BYTE[nCapacity ? nCapacity : 1] : NULL;
    if (!pBytes)
    {
        delete pSelf;
        return NULL;
    }
    pSelf->buffer.face.pTable = &s_bufferTable;
    pSelf->buffer.pObject = pSelf;
    pSelf->byteAccess.face.pTable = &s_byteAccessTable;
    pSelf->byteAccess.pObject = pSelf;
    pSelf->nRefs = 1;
    pSelf->nLength = 0;
    pSelf->nCapacity = nCapacity;
    pSelf->pBytes = pBytes;
    return &pSelf->buffer.face;
}

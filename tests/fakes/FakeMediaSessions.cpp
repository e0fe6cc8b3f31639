// A fake of the system's media session manager, loaded into the server as the
// activatable class. It serves the sessions of a script, FakeMediaSessions.cfg
// beside the DLL, read every 100 ms: on a change it raises every change event
// listened to, then records "changed" in calls.log beside it, where each request
// to a session goes too: "<app> <request> [value]", and each RequestAsync.
// Script lines: late=1 (operations complete later on another thread),
// slow_first_ms=N (the first RequestAsync completes N ms late), current=N (0: none),
// sessions=N; for session i: app<i>, title<i>, artist<i>, album<i> (UTF-8),
// status<i>, position<i> and end<i> (seconds), shuffle<i> and repeat<i> (absent:
// not told), controls<i> (bit n: the PlaybackControls getter at 6 + n allows
// it), thumbnail<i>=1 (a PNG of one pixel). What no caller needs: E_NOTIMPL.
// All interfaces share one table: on x64 arguments sit in the same places
// whatever their types (no floating point one here), so an entry per position
// reads them as integers and Answer picks by interface.
#include <windows.h>
#include <objbase.h>
#include <algorithm>
#include <sstream>
#include "FakeMediaSessions.h"

static Entry s_table[SLOTS];
static Object* g_sessions[8];
static HRESULT(WINAPI* g_pCreateString)(const WCHAR*, UINT32, void*);
static IID g_inspectable, g_agile, g_byteAccess;
// A PNG of one pixel (the array's end mark is not part of it).
static const char PNG[] =
    "\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\1\0\0\0\1\x08\x06\0\0\0\x1F\x15\xC4\x89"
    "\0\0\0\rIDATx\x9C\x63\xF8\xCF\xC0\xF0\x1F\0\x05\0\1\xFF\x89\x99=\x1D"
    "\0\0\0\0IEND\xAE\x42\x60\x82";
const UINT32 PNG_SIZE = sizeof(PNG) - 1;

static HRESULT Text(const std::string& utf8, void* pText)
{
    WCHAR szText[512];
    int nLength = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, szText, 512);
    return g_pCreateString(szText, nLength > 0 ? nLength - 1 : 0, pText);
}

template <class T> static HRESULT Put(UINT_PTR pValue, long long nValue)
{
    *reinterpret_cast<T*>(pValue) = static_cast<T>(nValue);
    return S_OK;
}

Object* New(std::initializer_list<Kind> kinds, int nSession)
{
    Object* pObject = new Object();
    for (const Kind& kind : kinds)
    {
        IIDFromString(kind.second, &pObject->iids[pObject->nFaces]);
        pObject->faces[pObject->nFaces++] = {s_table, pObject, kind.first};
    }
    pObject->nRefs = 1;
    pObject->nSession = nSession;
    return pObject;
}

HRESULT Out(void* ppOut, Object* pObject)
{
    *static_cast<Face**>(ppOut) = pObject ? &pObject->faces[0] : NULL;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE QueryInterface(Face* pThis, REFIID iid, void** ppObject)
{
    Object* pObject = pThis->pObject;
    int nFace = iid == IID_IUnknown || iid == g_inspectable || iid == g_agile ? 0 : -1;
    for (int i = 0; nFace < 0 && i < pObject->nFaces; i++)
        nFace = iid == pObject->iids[i] ? i : -1;
    *ppObject = nFace < 0 ? NULL : &pObject->faces[nFace];
    if (nFace >= 0)
        InterlockedIncrement(&pObject->nRefs);
    return nFace < 0 ? E_NOINTERFACE : S_OK;
}

static ULONG STDMETHODCALLTYPE AddRef(Face* pThis)
{
    return InterlockedIncrement(&pThis->pObject->nRefs);
}

ULONG STDMETHODCALLTYPE Release(Face* pThis)
{
    Object* pObject = pThis->pObject;
    LONG nLeft = InterlockedDecrement(&pObject->nRefs);
    if (nLeft != 0)
        return nLeft;
    if (pObject->pResult)
        pObject->pResult->Release();
    if (pObject->pHandler)
        pObject->pHandler->Release();
    delete pObject;
    return 0;
}

HRESULT Call(IUnknown* pTarget, int nSlot, void* pFirst, INT_PTR nSecond)
{
    typedef HRESULT(STDMETHODCALLTYPE * Method)(IUnknown*, void*, INT_PTR);
    return reinterpret_cast<Method>((*reinterpret_cast<Entry**>(pTarget))[nSlot])(pTarget, pFirst,
                                                                                  nSecond);
}

// Operations: done at once, or on another thread after put_Completed.

static Object* NewOperation(const wchar_t* pszIid, Object* pResult, INT32 nValue = 0,
                            int nKind = ASYNC)
{
    Object* pOperation = New({{nKind, pszIid}, {INFO, L"{00000036-0000-0000-c000-000000000046}"}});
    pOperation->pResult = pResult ? reinterpret_cast<IUnknown*>(&pResult->faces[0]) : NULL;
    pOperation->nValue = nValue;
    return pOperation;
}

// An operation with a result completes nValue ms late.
static DWORD WINAPI Complete(void* pOperation)
{
    Face* pFace = &static_cast<Object*>(pOperation)->faces[0];
    if (pFace->pObject->pResult)
        Sleep(static_cast<DWORD>(pFace->pObject->nValue));
    Call(pFace->pObject->pHandler, 3, pFace, 1); // Invoke(operation, Completed)
    Release(pFace);
    return 0;
}

// The manager, its sessions and the change events.

static Object* Manager()
{
    static Object* s_pManager = New({{MANAGER, L"{cace8eac-e86e-504a-ab31-5ff8ff1bce49}"}});
    AddRef(&s_pManager->faces[0]);
    return s_pManager;
}

static Object* SessionOf(long long nSession)
{
    if (nSession <= 0 || nSession > Number("sessions"))
        return NULL;
    AddRef(&g_sessions[nSession]->faces[0]);
    return g_sessions[nSession];
}

// Try...Async at 10 to 24: the value comes first at 21 to 24, the result after it.
static HRESULT Request(Object* pSession, int nSlot, UINT_PTR nValue, UINT_PTR pAfterValue)
{
    std::istringstream names(
        "Play Pause Stop Record FastForward Rewind SkipNext SkipPrevious "
        "ChangeChannelUp ChangeChannelDown TogglePlayPause ChangeAutoRepeatMode "
        "ChangePlaybackRate ChangeShuffleActive ChangePlaybackPosition");
    std::string name;
    for (int i = 10; i <= nSlot; i++)
        names >> name;
    std::string line = Script("app", pSession->nSession) + " Try" + name + "Async";
    // The value: an enum (21), a boolean (23), ticks (24); 22's double is not read.
    static const long long s_masks[] = {0xFFFFFFFF, 0, 0xFF, -1};
    if (nSlot >= 21 && nSlot != 22)
        line += " " + std::to_string(static_cast<long long>(nValue) & s_masks[nSlot - 21]);
    Record(line);
    void* ppOperation = reinterpret_cast<void*>(nSlot < 21 ? nValue : pAfterValue);
    return Out(ppOperation, NewOperation(L"{cdb5efb3-5788-509d-9be1-71ccb8a3362a}", NULL, 1));
}

// An IReference of the script's value, or none when the script has none.
static Object* Value(const std::string& value, int nKind, const wchar_t* pszIid)
{
    if (value.empty())
        return NULL;
    Object* pValue = New({{nKind, pszIid}});
    pValue->nValue = atoi(value.c_str());
    return pValue;
}

// The thumbnail's stream reads into the caller's buffer and hands that back.
static Object* NewStream()
{
    return New({{STREAM, L"{cc254827-4b3d-438f-9232-10c76bc7e038}"},
                {RANDOM, L"{905a0fe1-bc53-11df-8c49-001e4fc686da}"},
                {INPUT_STREAM, L"{905a0fe2-bc53-11df-8c49-001e4fc686da}"},
                {TYPE, L"{97d098a5-3b99-4de9-88a5-e11d2f50c795}"},
                {CLOSABLE, L"{30d5a829-7fa4-4026-83bb-d75bae4ea99e}"}});
}

static HRESULT Read(Object* pStream, IUnknown* pBuffer, UINT32 nCount, void* ppOperation)
{
    IUnknown* pAccess = NULL;
    BYTE* pBytes = NULL;
    UINT32 nCapacity = 0;
    if (FAILED(pBuffer->QueryInterface(g_byteAccess, reinterpret_cast<void**>(&pAccess))))
        return E_NOINTERFACE;
    Call(pAccess, 3, &pBytes); // IBufferByteAccess::Buffer
    pAccess->Release();
    Call(pBuffer, 6, &nCapacity); // IBuffer::get_Capacity
    UINT32 nLeft = PNG_SIZE - pStream->nValue;
    UINT32 nRead = std::min(std::min(nLeft, nCount), nCapacity);
    memcpy(pBytes, PNG + pStream->nValue, nRead);
    pStream->nValue += nRead;
    Call(pBuffer, 8, reinterpret_cast<void*>(static_cast<UINT_PTR>(nRead))); // put_Length
    pBuffer->AddRef();
    Object* pOperation = NewOperation(L"{d26b2819-897f-5c7d-84d6-56d796561431}", NULL, 0, READ);
    pOperation->pResult = pBuffer;
    return Out(ppOperation, pOperation);
}

static HRESULT Answer(Face* pThis, int nSlot, UINT_PTR a, UINT_PTR b, UINT_PTR, UINT_PTR d)
{
    Object* pObject = pThis->pObject;
    int nSession = pObject->nSession;
    void* pOut = reinterpret_cast<void*>(a);
    switch (K(pThis->nKind, nSlot))
    {
    case K(STATICS, 6): // RequestAsync
    {
        static LONG s_nRequests = 0;
        bool bFirst = InterlockedIncrement(&s_nRequests) == 1;
        Record("RequestAsync");
        return Out(pOut, NewOperation(L"{3eec115e-7346-5c27-8c5f-da78514a277b}", Manager(),
                                      bFirst ? static_cast<INT32>(Number("slow_first_ms")) : 0));
    }
    case K(ASYNC, 6): // put_Completed
    case K(READ, 8):
        pObject->pHandler = reinterpret_cast<IUnknown*>(a);
        pObject->pHandler->AddRef();
        AddRef(pThis);
        if (Number("late") || (pObject->pResult && pObject->nValue))
            return QueueUserWorkItem(Complete, pObject, 0) ? S_OK : E_FAIL;
        Complete(pObject);
        return S_OK;
    case K(ASYNC, 8): // GetResults: the object, or the boolean
    case K(READ, 10):
        if (!pObject->pResult)
            return Put<BYTE>(a, pObject->nValue);
        pObject->pResult->AddRef();
        *static_cast<IUnknown**>(pOut) = pObject->pResult;
        return S_OK;
    case K(INFO, 9):  // Cancel
    case K(INFO, 10): // Close
    case K(CLOSABLE, 6):
        return S_OK;
    case K(MANAGER, 6):
        return Out(pOut, SessionOf(Number("current")));
    case K(MANAGER, 7):
        return Out(pOut, New({{LIST, L"{9b2672da-5088-5a1d-acd9-a3fc5ef1cfa4}"}}));
    case K(MANAGER, 8):
    case K(MANAGER, 10):
    case K(SESSION, 25):
    case K(SESSION, 27):
    case K(SESSION, 29):
        return Listen(pObject, nSlot, reinterpret_cast<IUnknown*>(a), reinterpret_cast<INT64*>(b));
    case K(MANAGER, 9):
    case K(MANAGER, 11):
    case K(SESSION, 26):
    case K(SESSION, 28):
    case K(SESSION, 30):
        return StopListening(static_cast<INT64>(a));
    case K(LIST, 6): // GetAt
        return Out(reinterpret_cast<void*>(b), SessionOf(static_cast<UINT32>(a) + 1LL));
    case K(LIST, 7):
        return Put<UINT32>(a, Number("sessions"));
    case K(SESSION, 6):
        return Text(Script("app", nSession), pOut);
    case K(SESSION, 7):
        return Out(pOut, NewOperation(L"{b185e6f3-e0d8-51cb-913f-c98d48c93c46}",
                                      New({{PROPERTIES, L"{68856cf6-adb4-54b2-ac16-05837907acb6}"}},
                                          nSession)));
    case K(SESSION, 8):
        return Out(pOut, New({{TIMELINE, L"{ede34136-6f25-588d-8ecf-ea5b6735aaa5}"}}, nSession));
    case K(SESSION, 9):
        return Out(pOut, New({{PLAYBACK, L"{94b4b6cf-e8ba-51ad-87a7-c10ade106127}"}}, nSession));
    case K(PROPERTIES, 6): // Title, Artist, AlbumTitle
    case K(PROPERTIES, 9):
    case K(PROPERTIES, 10):
        return Text(Script(nSlot == 6 ? "title" : nSlot == 9 ? "artist" : "album", nSession), pOut);
    case K(PROPERTIES, 15):
        return Out(pOut, Value(Script("thumbnail", nSession), THUMBNAIL,
                               L"{33ee3134-1dd6-4e3a-8067-d1c162e8642b}"));
    case K(TIMELINE, 6):  // StartTime
    case K(TIMELINE, 11): // LastUpdatedTime: never, so the position stands still
        return Put<INT64>(a, 0);
    case K(TIMELINE, 7): // EndTime, Position
    case K(TIMELINE, 10):
        return Put<INT64>(a, 10000000 * Number(nSlot == 7 ? "end" : "position", nSession));
    case K(PLAYBACK, 6):
        return Out(pOut, New({{CONTROLS, L"{6501a3e6-bc7a-503a-bb1b-68f158f3fb03}"}}, nSession));
    case K(PLAYBACK, 7):
        return Put<INT32>(a, Number("status", nSession));
    case K(PLAYBACK, 9):
        return Out(pOut, Value(Script("repeat", nSession), ENUM_VALUE,
                               L"{50a7f41f-58d5-5c4d-9475-8dd1acd65836}"));
    case K(PLAYBACK, 11):
        return Out(pOut, Value(Script("shuffle", nSession), BOOL_VALUE,
                               L"{3c00fd60-2950-5939-a21a-2d12c5a01b8a}"));
    case K(BOOL_VALUE, 6):
        return Put<BYTE>(a, pObject->nValue);
    case K(ENUM_VALUE, 6):
        return Put<INT32>(a, pObject->nValue);
    case K(THUMBNAIL, 6): // OpenReadAsync
        return Out(pOut, NewOperation(L"{c4a57c5e-32b0-55b3-ad13-ce1c23041ed6}", NewStream()));
    case K(RANDOM, 6): // get_Size
        return Put<UINT64>(a, PNG_SIZE);
    case K(INPUT_STREAM, 6): // ReadAsync(buffer, count, options, operation)
        return Read(pObject, reinterpret_cast<IUnknown*>(a), static_cast<UINT32>(b),
                    reinterpret_cast<void*>(d));
    case K(TYPE, 6):
        return Text("image/png", pOut);
    }
    if (pThis->nKind == CONTROLS && nSlot >= 6 && nSlot <= 20)
        return Put<BYTE>(a, (Number("controls", nSession) >> (nSlot - 6)) & 1);
    if (pThis->nKind == SESSION && nSlot >= 10 && nSlot <= 24)
        return Request(pObject, nSlot, a, b);
    return E_NOTIMPL;
}

template <int N>
static HRESULT STDMETHODCALLTYPE At(Face* pThis, UINT_PTR a, UINT_PTR b, UINT_PTR c, UINT_PTR d)
{
    return Answer(pThis, N, a, b, c, d);
}

template <int N> static void FillFrom()
{
    s_table[N] = reinterpret_cast<Entry>(&At<N>);
    FillFrom<N + 1>();
}

template <> void FillFrom<SLOTS>() {}

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD nReason, void*)
{
    if (nReason != DLL_PROCESS_ATTACH)
        return TRUE;
    char szPath[MAX_PATH];
    std::string folder(szPath, GetModuleFileNameA(hInstance, szPath, sizeof(szPath)));
    InitScript(folder.erase(folder.find_last_of('\\')));
    FillFrom<3>();
    s_table[0] = reinterpret_cast<Entry>(&QueryInterface);
    s_table[1] = reinterpret_cast<Entry>(&AddRef);
    s_table[2] = reinterpret_cast<Entry>(&Release);
    g_pCreateString = reinterpret_cast<decltype(g_pCreateString)>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("combase.dll"), "WindowsCreateString")));
    IIDFromString(L"{af86e2e0-b12d-4c6a-9c5a-d7aa65101e90}", &g_inspectable);
    IIDFromString(L"{94ea2b94-e9cc-49e0-c0ff-ee64ca8f5b90}", &g_agile);
    IIDFromString(L"{905a0fef-bc53-11df-8c49-001e4fc686da}", &g_byteAccess);
    for (int i = 1; i < 8; i++)
        g_sessions[i] = New({{SESSION, L"{7148c835-9b14-5ae2-ab85-dc9b1c14e1a8}"}}, i);
    return TRUE;
}

// IActivationFactory (it makes no instances) and the manager's statics.
extern "C" __declspec(dllexport) HRESULT WINAPI DllGetActivationFactory(void*, void* ppFactory)
{
    static const bool s_bWatching = StartWatching();
    (void)s_bWatching;
    return Out(ppFactory, New({{FACTORY, L"{00000035-0000-0000-c000-000000000046}"},
                               {STATICS, L"{2050c4ee-11a0-57de-aed7-c97c70338245}"}}));
}

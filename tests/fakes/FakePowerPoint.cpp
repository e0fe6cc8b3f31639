// A fake of the two presentation programs' automation servers for the tests: one
// in-process server for both class ids. Its objects answer at the function-table
// positions the controllers use, from a slide count the test sets, and return
// E_NOTIMPL at every other position.
//
// Beside the DLL: FakePowerPoint.cfg ("slides=N") is read when an application
// object is made, and every call is appended to calls.log as one line: object,
// position, arguments, and "-> " with the value or the failing HRESULT. Like a
// real apartment object, each object refuses calls from any thread but the one
// that made it (recorded "on another thread"). When an application object goes,
// the line "<object> released, N others alive" shows whether anything leaked.
// Set by the test: while FakePowerPoint.gone holds an HRESULT in hex, every call fails
// with it, as calls into a program the user closed do, until a new application
// object is made. The viewer opens an empty file without handing back a show.
#include <windows.h>
#include <objbase.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>

// Any function: the tables below hold entries of many signatures.
typedef void (*Entry)();

enum ObjectKind
{
    APPLICATION,
    PRESENTATIONS,
    PRESENTATION,
    SLIDES,
    SETTINGS,
    WINDOW,
    VIEW,
    VIEWER,
    SHOW,
    KIND_COUNT
};

static const char* const s_kindNames[KIND_COUNT] = {
    "Application",     "Presentations", "Presentation", "Slides",   "SlideShowSettings",
    "SlideShowWindow", "SlideShowView", "Viewer",       "SlideShow"};

// The interface ids each kind answers besides IUnknown (Slides also as Collection).
static const GUID s_kindIds[KIND_COUNT][2] = {
    {{0x91493442, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}}},
    {{0x91493462, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}}},
    {{0x9149349D, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}}},
    {{0x91493469, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}},
     {0x91493450, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}}},
    {{0x9149345A, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}}},
    {{0x91493453, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}}},
    {{0x91493459, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}}},
    {{0xFCE18142, 0xB12B, 0x11D0, {0xB0, 0x6A, 0x00, 0xAA, 0x00, 0x60, 0x27, 0x1A}}},
    {{0xFCE18150, 0xB12B, 0x11D0, {0xB0, 0x6A, 0x00, 0xAA, 0x00, 0x60, 0x27, 0x1A}}}};

static const CLSID CLSID_POWERPOINT = {
    0x91493441, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}};
static const CLSID CLSID_VIEWER = {
    0xFCE18141, 0xB12B, 0x11D0, {0xB0, 0x6A, 0x00, 0xAA, 0x00, 0x60, 0x27, 0x1A}};

// Enough entries for the highest position used (59) and more.
const int TABLE_SIZE = 64;
static Entry s_tables[KIND_COUNT][TABLE_SIZE];

struct FakeObject
{
    const Entry* pTable; // first, as in every COM object
    LONG nRefs;
    ObjectKind kind;
    DWORD nThreadId;
};

static std::string g_folder;
static LONG g_nAlive = 0;
// PowerPoint's state: slides of the open presentation, the show and its slide.
static long g_nSlides = 0;
static bool g_bOpen = false;
static bool g_bShowRunning = false;
static long g_nPosition = 0;

static void Record(const std::string& line)
{
    FILE* pFile = fopen((g_folder + "\\calls.log").c_str(), "ab");
    if (!pFile)
        return;
    fprintf(pFile, "%s\n", line.c_str());
    fclose(pFile);
}

static std::string Call(FakeObject* pThis, int nPosition)
{
    return std::string(s_kindNames[pThis->kind]) + " " + std::to_string(nPosition);
}

static std::string Failure(HRESULT hr)
{
    char szCode[16];
    snprintf(szCode, sizeof(szCode), "0x%08lX", static_cast<unsigned long>(hr));
    return szCode;
}

// A call about to succeed: failed if the test has closed the program.
static HRESULT AsTheTestSets(HRESULT hr)
{
    FILE* pFile = fopen((g_folder + "\\FakePowerPoint.gone").c_str(), "rb");
    unsigned long nGone = 0;
    if (pFile && fscanf(pFile, "%lx", &nGone) == 1 && FAILED(static_cast<HRESULT>(nGone)))
        hr = static_cast<HRESULT>(nGone);
    if (pFile)
        fclose(pFile);
    return hr;
}

// Records the call with its outcome and returns hr.
static HRESULT Answer(const std::string& call, HRESULT hr, const std::string& value = "")
{
    if (SUCCEEDED(hr))
        hr = AsTheTestSets(hr);
    if (FAILED(hr))
        Record(call + " -> " + Failure(hr));
    else
        Record(value.empty() ? call : call + " -> " + value);
    return hr;
}

static bool OnOwnThread(FakeObject* pThis, const std::string& call)
{
    if (pThis->nThreadId == GetCurrentThreadId())
        return true;
    Record(call + " on another thread");
    return false;
}

static std::string Narrow(BSTR bstr)
{
    char szText[2048] = "";
    WideCharToMultiByte(CP_ACP, 0, bstr ? bstr : L"", -1, szText, sizeof(szText), NULL, NULL);
    return szText;
}

static bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

static FakeObject* NewObject(ObjectKind kind)
{
    FakeObject* pObject = new FakeObject();
    pObject->pTable = s_tables[kind];
    pObject->nRefs = 1;
    pObject->kind = kind;
    pObject->nThreadId = GetCurrentThreadId();
    InterlockedIncrement(&g_nAlive);
    return pObject;
}

// IUnknown

static HRESULT STDMETHODCALLTYPE QueryInterface(FakeObject* pThis, REFIID iid, void** ppObject)
{
    *ppObject = NULL;
    const GUID* pIds = s_kindIds[pThis->kind];
    bool bKnown = IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, pIds[0]) ||
                  (IsEqualGUID(iid, pIds[1]) && !IsEqualGUID(iid, GUID_NULL));
    if (!bKnown)
        return E_NOINTERFACE;
    InterlockedIncrement(&pThis->nRefs);
    *ppObject = pThis;
    return S_OK;
}

static ULONG STDMETHODCALLTYPE AddRef(FakeObject* pThis)
{
    return static_cast<ULONG>(InterlockedIncrement(&pThis->nRefs));
}

static ULONG STDMETHODCALLTYPE Release(FakeObject* pThis)
{
    LONG nLeft = InterlockedDecrement(&pThis->nRefs);
    if (nLeft != 0)
        return static_cast<ULONG>(nLeft);
    std::string name = s_kindNames[pThis->kind];
    if (pThis->nThreadId != GetCurrentThreadId())
        Record(name + " released on another thread");
    LONG nOthers = InterlockedDecrement(&g_nAlive);
    if (pThis->kind == APPLICATION || pThis->kind == VIEWER)
        Record(name + " released, " + std::to_string(nOthers) + " others alive");
    delete pThis;
    return 0;
}

// Every position not listed below. The controllers call none of them; the
// x64 calling convention lets one body stand for every signature.
static HRESULT STDMETHODCALLTYPE NotImplemented(FakeObject*)
{
    return E_NOTIMPL;
}

// Hands out a new object of the kind through ppResult.
static HRESULT Give(const std::string& call, ObjectKind kind, FakeObject** ppResult)
{
    HRESULT hr = Answer(call, S_OK);
    *ppResult = SUCCEEDED(hr) ? NewObject(kind) : NULL;
    return hr;
}

// PowerPoint's _Application

static HRESULT STDMETHODCALLTYPE GetPresentations(FakeObject* pThis, FakeObject** ppResult)
{
    std::string call = Call(pThis, 7);
    if (!OnOwnThread(pThis, call))
        return RPC_E_WRONG_THREAD;
    return Give(call, PRESENTATIONS, ppResult);
}

static HRESULT STDMETHODCALLTYPE GetActivePresentation(FakeObject* pThis, FakeObject** ppResult)
{
    std::string call = Call(pThis, 11);
    if (!OnOwnThread(pThis, call))
        return RPC_E_WRONG_THREAD;
    if (!g_bOpen)
        return Answer(call, E_FAIL);
    return Give(call, PRESENTATION, ppResult);
}

static HRESULT STDMETHODCALLTYPE Quit(FakeObject* pThis)
{
    std::string call = Call(pThis, pThis->kind == VIEWER ? 10 : 29);
    if (!OnOwnThread(pThis, call))
        return RPC_E_WRONG_THREAD;
    g_bOpen = false;
    g_bShowRunning = false;
    return Answer(call, S_OK);
}

static HRESULT STDMETHODCALLTYPE PutVisible(FakeObject* pThis, LONG nVisible)
{
    std::string call = Call(pThis, 44) + " " + std::to_string(nVisible);
    if (!OnOwnThread(pThis, call))
        return RPC_E_WRONG_THREAD;
    return Answer(call, S_OK);
}

// Presentations, _Presentation, Slides, SlideShowSettings, SlideShowWindow

static HRESULT STDMETHODCALLTYPE Open(FakeObject* pThis, BSTR bstrName, LONG nReadOnly,
                                      LONG nUntitled, LONG nWithWindow, FakeObject** ppResult)
{
    std::string name = Narrow(bstrName);
    std::string call = Call(pThis, 15) + " \"" + name + "\" " + std::to_string(nReadOnly) + " " +
                       std::to_string(nUntitled) + " " + std::to_string(nWithWindow);
    if (!OnOwnThread(pThis, call))
        return RPC_E_WRONG_THREAD;
    if (!FileExists(name))
        return Answer(call, E_FAIL);
    g_bOpen = true;
    return Give(call, PRESENTATION, ppResult);
}

static HRESULT STDMETHODCALLTYPE GetSlides(FakeObject* pThis, FakeObject** ppResult)
{
    std::string call = Call(pThis, 17);
    if (!OnOwnThread(pThis, call))
        return RPC_E_WRONG_THREAD;
    return Give(call, SLIDES, ppResult);
}

static HRESULT STDMETHODCALLTYPE GetSlideShowSettings(FakeObject* pThis, FakeObject** ppResult)
{
    std::string call = Call(pThis, 21);
    if (!OnOwnThread(pThis, call))
        return RPC_E_WRONG_THREAD;
    return Give(call, SETTINGS, ppResult);
}

static HRESULT STDMETHODCALLTYPE GetSlideShowWindow(FakeObject* pThis, FakeObject** ppResult)
{
    std::string call = Call(pThis, 59);
    if (!OnOwnThread(pThis, call))
        return RPC_E_WRONG_THREAD;
    if (!g_bShowRunning)
        return Answer(call, E_FAIL);
    return Give(call, WINDOW, ppResult);
}

static HRESULT STDMETHODCALLTYPE GetCount(FakeObject* pThis, LONG* pnCount)
{
    std::string call = Call(pThis, 9);
    if (!OnOwnThread(pThis, call))
        return RPC_E_WRONG_THREAD;
    *pnCount = g_nSlides;
    return Answer(call, S_OK, std::to_string(g_nSlides));
}

static HRESULT STDMETHODCALLTYPE Run(FakeObject* pThis, FakeObject** ppResult)
{
    std::string call = Call(pThis, 17);
    if (!OnOwnThread(pThis, call))
        return RPC_E_WRONG_THREAD;
    g_bShowRunning = true;
    g_nPosition = 1;
    return Give(call, WINDOW, ppResult);
}

static HRESULT STDMETHODCALLTYPE GetView(FakeObject* pThis, FakeObject** ppResult)
{
    std::string call = Call(pThis, 9);
    if (!OnOwnThread(pThis, call))
        return RPC_E_WRONG_THREAD;
    return Give(call, VIEW, ppResult);
}

// SlideShowView: moves through the running show as PowerPoint does; a Next
// from the last slide ends the show.

static HRESULT MoveInShow(FakeObject* pThis, int nPosition, long nNewPosition)
{
    std::string call = Call(pThis, nPosition);
    if (!OnOwnThread(pThis, call))
        return RPC_E_WRONG_THREAD;
    if (!g_bShowRunning)
        return Answer(call, E_FAIL);
    if (nNewPosition > g_nSlides)
        g_bShowRunning = false;
    else if (nNewPosition >= 1)
        g_nPosition = nNewPosition;
    return Answer(call, S_OK);
}

static HRESULT STDMETHODCALLTYPE First(FakeObject* pThis)
{
    return MoveInShow(pThis, 27, 1);
}

static HRESULT STDMETHODCALLTYPE Next(FakeObject* pThis)
{
    return MoveInShow(pThis, 29, g_nPosition + 1);
}

static HRESULT STDMETHODCALLTYPE Previous(FakeObject* pThis)
{
    return MoveInShow(pThis, 30, g_nPosition - 1);
}

static HRESULT STDMETHODCALLTYPE GetCurrentShowPosition(FakeObject* pThis, LONG* pnPosition)
{
    std::string call = Call(pThis, 37);
    if (!OnOwnThread(pThis, call))
        return RPC_E_WRONG_THREAD;
    if (!g_bShowRunning)
        return Answer(call, E_FAIL);
    *pnPosition = g_nPosition;
    return Answer(call, S_OK, std::to_string(g_nPosition));
}

// The viewer's application and slide show. Its Next has no bound.

static HRESULT STDMETHODCALLTYPE OpenShow(FakeObject* pThis, BSTR bstrName, LONG nFirst,
                                          LONG nSecond, FakeObject** ppResult)
{
    std::string name = Narrow(bstrName);
    std::string call = Call(pThis, 9) + " \"" + name + "\" " + std::to_string(nFirst) + " " +
                       std::to_string(nSecond);
    if (!OnOwnThread(pThis, call))
        return RPC_E_WRONG_THREAD;
    if (!FileExists(name))
        return Answer(call, E_FAIL);
    WIN32_FILE_ATTRIBUTE_DATA file;
    if (GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &file) && file.nFileSizeLow == 0)
        return Answer(call, S_OK, "no show");
    return Give(call, SHOW, ppResult);
}

static HRESULT ShowCall(FakeObject* pThis, int nPosition, const std::string& arguments = "")
{
    std::string call = Call(pThis, nPosition) + arguments;
    if (!OnOwnThread(pThis, call))
        return RPC_E_WRONG_THREAD;
    return Answer(call, S_OK);
}

static HRESULT STDMETHODCALLTYPE ShowNext(FakeObject* pThis)
{
    return ShowCall(pThis, 8);
}

static HRESULT STDMETHODCALLTYPE ShowPrevious(FakeObject* pThis)
{
    return ShowCall(pThis, 9);
}

static HRESULT STDMETHODCALLTYPE ShowGoto(FakeObject* pThis, LONG nFirst, LONG nSecond)
{
    return ShowCall(pThis, 10, " " + std::to_string(nFirst) + " " + std::to_string(nSecond));
}

static HRESULT STDMETHODCALLTYPE ShowEnd(FakeObject* pThis)
{
    return ShowCall(pThis, 13);
}

template <class Method> static void SetEntry(ObjectKind kind, int nPosition, Method pMethod)
{
    s_tables[kind][nPosition] = reinterpret_cast<Entry>(pMethod);
}

static void BuildTables()
{
    for (int kind = 0; kind < KIND_COUNT; kind++)
    {
        ObjectKind k = static_cast<ObjectKind>(kind);
        for (int i = 0; i < TABLE_SIZE; i++)
            SetEntry(k, i, &NotImplemented);
        SetEntry(k, 0, &QueryInterface);
        SetEntry(k, 1, &AddRef);
        SetEntry(k, 2, &Release);
    }
    SetEntry(APPLICATION, 7, &GetPresentations);
    SetEntry(APPLICATION, 11, &GetActivePresentation);
    SetEntry(APPLICATION, 29, &Quit);
    SetEntry(APPLICATION, 44, &PutVisible);
    SetEntry(PRESENTATIONS, 15, &Open);
    SetEntry(PRESENTATION, 17, &GetSlides);
    SetEntry(PRESENTATION, 21, &GetSlideShowSettings);
    SetEntry(PRESENTATION, 59, &GetSlideShowWindow);
    SetEntry(SLIDES, 9, &GetCount);
    SetEntry(SETTINGS, 17, &Run);
    SetEntry(WINDOW, 9, &GetView);
    SetEntry(VIEW, 27, &First);
    SetEntry(VIEW, 29, &Next);
    SetEntry(VIEW, 30, &Previous);
    SetEntry(VIEW, 37, &GetCurrentShowPosition);
    SetEntry(VIEWER, 9, &OpenShow);
    SetEntry(VIEWER, 10, &Quit);
    SetEntry(SHOW, 8, &ShowNext);
    SetEntry(SHOW, 9, &ShowPrevious);
    SetEntry(SHOW, 10, &ShowGoto);
    SetEntry(SHOW, 13, &ShowEnd);
}

static long ConfiguredSlides()
{
    FILE* pFile = fopen((g_folder + "\\FakePowerPoint.cfg").c_str(), "rb");
    if (!pFile)
        return 0;
    long nSlides = 0;
    if (fscanf(pFile, "slides=%ld", &nSlides) != 1)
        nSlides = 0;
    fclose(pFile);
    return nSlides;
}

// The class factory, one for each class id.

struct FakeFactory
{
    const Entry* pTable;
    ObjectKind kind;
};

static Entry s_factoryTable[5];

static HRESULT STDMETHODCALLTYPE FactoryQueryInterface(FakeFactory* pThis, REFIID iid,
                                                       void** ppObject)
{
    *ppObject = NULL;
    if (!IsEqualGUID(iid, IID_IUnknown) && !IsEqualGUID(iid, IID_IClassFactory))
        return E_NOINTERFACE;
    *ppObject = pThis;
    return S_OK;
}

// The factories are static: counting their references is not needed.
static ULONG STDMETHODCALLTYPE FactoryAddRef(FakeFactory*)
{
    return 2;
}

static ULONG STDMETHODCALLTYPE FactoryRelease(FakeFactory*)
{
    return 1;
}

static HRESULT STDMETHODCALLTYPE CreateInstance(FakeFactory* pThis, IUnknown* pOuter, REFIID iid,
                                                void** ppObject)
{
    *ppObject = NULL;
    if (pOuter)
        return CLASS_E_NOAGGREGATION;
    // A new application object is a newly started program.
    DeleteFileA((g_folder + "\\FakePowerPoint.gone").c_str());
    if (pThis->kind == APPLICATION)
    {
        g_nSlides = ConfiguredSlides();
        g_bOpen = false;
        g_bShowRunning = false;
        g_nPosition = 0;
    }
    FakeObject* pObject = NewObject(pThis->kind);
    HRESULT hr = QueryInterface(pObject, iid, ppObject);
    Release(pObject);
    return hr;
}

static HRESULT STDMETHODCALLTYPE LockServer(FakeFactory*, BOOL)
{
    return S_OK;
}

static FakeFactory s_powerPointFactory = {s_factoryTable, APPLICATION};
static FakeFactory s_viewerFactory = {s_factoryTable, VIEWER};

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD nReason, void*)
{
    if (nReason != DLL_PROCESS_ATTACH)
        return TRUE;
    char szPath[MAX_PATH];
    DWORD nLength = GetModuleFileNameA(hInstance, szPath, sizeof(szPath));
    g_folder = std::string(szPath, nLength);
    g_folder.erase(g_folder.find_last_of('\\'));
    BuildTables();
    s_factoryTable[0] = reinterpret_cast<Entry>(&FactoryQueryInterface);
    s_factoryTable[1] = reinterpret_cast<Entry>(&FactoryAddRef);
    s_factoryTable[2] = reinterpret_cast<Entry>(&FactoryRelease);
    s_factoryTable[3] = reinterpret_cast<Entry>(&CreateInstance);
    s_factoryTable[4] = reinterpret_cast<Entry>(&LockServer);
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** ppObject)
{
    *ppObject = NULL;
    FakeFactory* pFactory = IsEqualGUID(clsid, CLSID_POWERPOINT) ? &s_powerPointFactory
                            : IsEqualGUID(clsid, CLSID_VIEWER)   ? &s_viewerFactory
                                                                 : NULL;
    if (!pFactory)
        return CLASS_E_CLASSNOTAVAILABLE;
    return FactoryQueryInterface(pFactory, iid, ppObject);
}

STDAPI DllCanUnloadNow()
{
    return S_FALSE;
}

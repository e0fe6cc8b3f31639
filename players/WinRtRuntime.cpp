#include "WinRtRuntime.h"
#include "../framework/ScopedCom.h"

template <class Function>
static bool Resolve(HMODULE hModule, const char* pszName, Function& pFunction)
{
    pFunction =
        reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(hModule, pszName)));
    return pFunction != NULL;
}

static bool LoadFunctions(WinRtFunctions& functions)
{
    // Kept loaded for the life of the process, as the runtime's objects need it.
    HMODULE hCombase = LoadLibraryA("combase.dll");
    return hCombase && Resolve(hCombase, "RoInitialize", functions.RoInitialize) &&
           Resolve(hCombase, "RoUninitialize", functions.RoUninitialize) &&
           Resolve(hCombase, "RoGetActivationFactory", functions.RoGetActivationFactory) &&
           Resolve(hCombase, "WindowsCreateString", functions.WindowsCreateString) &&
           Resolve(hCombase, "WindowsCreateStringReference",
                   functions.WindowsCreateStringReference) &&
           Resolve(hCombase, "WindowsDeleteString", functions.WindowsDeleteString) &&
           Resolve(hCombase, "WindowsGetStringRawBuffer", functions.WindowsGetStringRawBuffer);
}

const WinRtFunctions* WinRt()
{
    static WinRtFunctions s_functions = {};
    static const bool s_bLoaded = LoadFunctions(s_functions);
    return s_bLoaded ? &s_functions : NULL;
}

CRtString::~CRtString()
{
    if (m_string)
        WinRt()->WindowsDeleteString(m_string);
}

RtString* CRtString::Receive()
{
    if (m_string)
        WinRt()->WindowsDeleteString(m_string);
    m_string = NULL;
    return &m_string;
}

std::wstring CRtString::Text() const
{
    UINT32 nLength = 0;
    const WCHAR* pszText = m_string ? WinRt()->WindowsGetStringRawBuffer(m_string, &nLength) : NULL;
    return pszText ? std::wstring(pszText, nLength) : std::wstring();
}

HRESULT QueryRt(const void* pObject, REFIID iid, void** ppObject)
{
    *ppObject = NULL;
    if (!pObject)
        return E_POINTER;
    IUnknown* pUnknown = static_cast<IUnknown*>(const_cast<void*>(pObject));
    HRESULT hr = pUnknown->QueryInterface(iid, ppObject);
    if (SUCCEEDED(hr) && !*ppObject)
        return E_NOINTERFACE;
    return hr;
}

bool SameRtObject(const void* pFirst, const void* pSecond)
{
    if (!pFirst || !pSecond)
        return pFirst == pSecond;
    CComRef<IUnknown> first, second;
    QueryRt(pFirst, IID_IUnknown, first.ReceiveVoid());
    QueryRt(pSecond, IID_IUnknown, second.ReceiveVoid());
    return !first.IsEmpty() && first.Get() == second.Get();
}

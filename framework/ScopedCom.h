// Owners for COM resources: a counted interface reference, a BSTR and the
// thread's COM initialisation. Each gives its resource back once, on scope exit.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

// Holds one reference to a COM object, or none. T is the object as declared by
// its caller; every COM object starts with IUnknown's entries, so it is released
// as an IUnknown.
template <class T> class CComRef
{
public:
    CComRef() : m_p(NULL) {}
    ~CComRef() { Reset(); }
    T* Get() const { return m_p; }
    bool IsEmpty() const { return m_p == NULL; }
    // Takes a reference of its own to p and gives up the one it held.
    void Assign(T* p)
    {
        if (p)
            AsUnknown(p)->AddRef();
        Reset();
        m_p = p;
    }
    void Reset()
    {
        T* p = m_p;
        m_p = NULL;
        if (p)
            AsUnknown(p)->Release();
    }
    // For an out parameter that hands over a reference: gives up the old one first.
    T** Receive()
    {
        Reset();
        return &m_p;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
    // Gives the reference up without releasing it, for one whose apartment is gone.
    void Detach() { m_p = NULL; }

private:
    CComRef(const CComRef&);
    CComRef& operator=(const CComRef&);
    static IUnknown* AsUnknown(T* p) { return reinterpret_cast<IUnknown*>(p); }
    T* m_p;
};

// A BSTR made from ANSI text; empty (and Get() NULL) when it could not be allocated.
class CScopedBstr
{
public:
    explicit CScopedBstr(const char* pszText) : m_bstr(NULL)
    {
        int nLength = MultiByteToWideChar(CP_ACP, 0, pszText, -1, NULL, 0);
        if (nLength <= 0)
            return;
        m_bstr = SysAllocStringLen(NULL, static_cast<UINT>(nLength - 1));
        if (m_bstr)
            MultiByteToWideChar(CP_ACP, 0, pszText, -1, m_bstr, nLength);
    }
    ~CScopedBstr() { SysFreeString(m_bstr); }
    BSTR Get() const { return m_bstr; }

private:
    CScopedBstr(const CScopedBstr&);
    CScopedBstr& operator=(const CScopedBstr&);
    BSTR m_bstr;
};

// Initialises COM in a single-threaded apartment on this thread for one scope.
class CScopedComInit
{
public:
    CScopedComInit() : m_bInitialised(SUCCEEDED(CoInitialize(NULL))) {}
    ~CScopedComInit()
    {
        if (m_bInitialised)
            CoUninitialize();
    }

private:
    CScopedComInit(const CScopedComInit&);
    CScopedComInit& operator=(const CScopedComInit&);
    bool m_bInitialised;
};

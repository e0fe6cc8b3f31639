// The runtime's activation and string functions, found in combase.dll when first
// needed: Windows 7 has none of them, and the server must still start there.
#pragma once
#include <windows.h>
#include <string>
#include "WinRtAbi.h"

struct WinRtFunctions
{
    HRESULT(WINAPI* RoInitialize)(INT32 nType);
    void(WINAPI* RoUninitialize)();
    HRESULT(WINAPI* RoGetActivationFactory)(RtString classId, REFIID iid, void** ppFactory);
    HRESULT(WINAPI* WindowsCreateString)(const WCHAR* pszText, UINT32 nLength, RtString* pString);
    HRESULT(WINAPI* WindowsCreateStringReference)
    (const WCHAR* pszText, UINT32 nLength, RtStringHeader* pHeader, RtString* pString);
    HRESULT(WINAPI* WindowsDeleteString)(RtString string);
    const WCHAR*(WINAPI* WindowsGetStringRawBuffer)(RtString string, UINT32* pnLength);
};

// The functions, or NULL when this system lacks any of them. Resolved once.
const WinRtFunctions* WinRt();

// Owns one runtime string handed over by a call (WinRt() must have succeeded).
class CRtString
{
public:
    CRtString() : m_string(NULL) {}
    ~CRtString();
    RtString* Receive();
    std::wstring Text() const;

private:
    CRtString(const CRtString&);
    CRtString& operator=(const CRtString&);
    RtString m_string;
};

// QueryInterface on any runtime object; *ppObject is NULL unless it succeeds.
HRESULT QueryRt(const void* pObject, REFIID iid, void** ppObject);
// Whether two references are to the same object (both NULL included).
bool SameRtObject(const void* pFirst, const void* pSecond);

#include "Automation.h"
#include <ole2.h>
#include "../framework/ScopedCom.h"

bool Succeeded(HRESULT hr, const char* pszCall, AutomationOutcome& outcome)
{
    if (SUCCEEDED(hr))
        return true;
    outcome.pszFailedCall = pszCall;
    outcome.hr = hr;
    return false;
}

bool ServerGone(const AutomationOutcome& outcome)
{
    return outcome.hr == RPC_E_DISCONNECTED ||
           outcome.hr == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
           outcome.hr == CO_E_OBJNOTCONNECTED;
}

HRESULT AttachApplication(REFCLSID clsid, REFIID iid, void** ppInterface)
{
    const DWORD CONTEXT = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
    CComRef<IUnknown> unknown;
    HRESULT hr = CoCreateInstance(clsid, NULL, CONTEXT, IID_IUnknown, unknown.ReceiveVoid());
    if (FAILED(hr))
        return hr;
    if (unknown.IsEmpty())
        return E_NOINTERFACE;
    // A local server's object may be created without running yet.
    hr = OleRun(unknown.Get());
    if (FAILED(hr))
        return hr;
    void* pInterface = NULL;
    hr = unknown.Get()->QueryInterface(iid, &pInterface);
    if (FAILED(hr))
        return hr;
    if (!pInterface)
        return E_NOINTERFACE;
    *ppInterface = pInterface;
    return S_OK;
}

// Calling automation objects directly through their function tables: the
// position check of a declaration, how a run of calls ends, creating the application.
#pragma once
#include <windows.h>
#include <stddef.h>

// Fails to compile when an entry is not at its position in the function table.
#define CHECK_TABLE_POSITION(Table, Entry, nPosition)                                              \
    static_assert(offsetof(Table, Entry) == (nPosition) * sizeof(void*),                           \
                  #Table "::" #Entry " must be at position " #nPosition)

// An operation ends at its first failure: the application object could not be
// created, or one call failed (named, with its HRESULT).
struct AutomationOutcome
{
    AutomationOutcome() : bNotCreated(false), pszFailedCall(NULL), hr(S_OK) {}
    bool bNotCreated;
    const char* pszFailedCall;
    HRESULT hr;
};

// True for a successful hr; otherwise records the call as the failure.
bool Succeeded(HRESULT hr, const char* pszCall, AutomationOutcome& outcome);

// True when the failure says the application's process is gone (the user closed
// it): every reference into it is dead, and only a new application object helps.
bool ServerGone(const AutomationOutcome& outcome);

// Creates the application object (class context 7: in-process or a local server),
// puts it in the running state and asks it for iid. *ppInterface is set only on success.
HRESULT AttachApplication(REFCLSID clsid, REFIID iid, void** ppInterface);

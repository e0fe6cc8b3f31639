// The fake session manager's script, read every 100 ms, its record of calls,
// and the change events raised when the script changes.
#include <fstream>
#include <map>
#include <sstream>
#include <vector>
#include "FakeMediaSessions.h"

static std::string g_folder;
static CRITICAL_SECTION g_lock;
static std::string g_text;
static std::map<std::string, std::string> g_script;
static std::map<INT64, Listener> g_listeners; // by token
static INT64 g_nTokens = 0;

void InitScript(const std::string& folder)
{
    g_folder = folder;
    InitializeCriticalSection(&g_lock);
}

void Record(const std::string& line)
{
    std::ofstream(g_folder + "\\calls.log", std::ios::app | std::ios::binary) << line << "\n";
}

std::string Script(const char* pszKey, int nSession)
{
    EnterCriticalSection(&g_lock);
    auto it = g_script.find(nSession ? pszKey + std::to_string(nSession) : pszKey);
    std::string value = it == g_script.end() ? "" : it->second;
    LeaveCriticalSection(&g_lock);
    return value;
}

long long Number(const char* pszKey, int nSession)
{
    return strtoll(Script(pszKey, nSession).c_str(), NULL, 0);
}

// The arguments of the events whose add_ is at the position: the manager's two
// (8, 10), then the session's timeline, playback info and media properties ones.
HRESULT Listen(Object* pSource, int nSlot, IUnknown* pHandler, INT64* pnToken)
{
    static const wchar_t* const s_args[] = {
        L"{6969cb39-0bfa-5fe0-8d73-09cc5e5408e1}", L"{bbf0cd32-42c4-5a58-b317-f34bbfbd26e0}",
        L"{29033a2f-c923-5a77-bcaf-055ff415ad32}", L"{786756c2-bc0d-50a5-8807-054291fef139}",
        L"{7d3741cb-adf0-5cef-91ba-cfabcdd77678}"};
    const wchar_t* pszArgsIid = s_args[nSlot < 25 ? (nSlot - 8) / 2 : 2 + (nSlot - 25) / 2];
    pHandler->AddRef();
    EnterCriticalSection(&g_lock);
    *pnToken = ++g_nTokens;
    g_listeners[*pnToken] = {pHandler, pszArgsIid, pSource};
    LeaveCriticalSection(&g_lock);
    return S_OK;
}

HRESULT StopListening(INT64 nToken)
{
    EnterCriticalSection(&g_lock);
    auto it = g_listeners.find(nToken);
    if (it != g_listeners.end())
        it->second.pHandler->Release(), g_listeners.erase(it);
    LeaveCriticalSection(&g_lock);
    return S_OK;
}

static void RaiseEvents()
{
    std::vector<Listener> listeners;
    EnterCriticalSection(&g_lock);
    for (const auto& listener : g_listeners)
        listeners.push_back(listener.second), listener.second.pHandler->AddRef();
    LeaveCriticalSection(&g_lock);
    for (const Listener& listener : listeners)
    {
        Object* pArgs = New({{EVENT_ARGS, listener.pszArgsIid}});
        Call(listener.pHandler, 3, &listener.pSource->faces[0],
             reinterpret_cast<INT_PTR>(&pArgs->faces[0]));
        Release(&pArgs->faces[0]);
        listener.pHandler->Release();
    }
}

// Reads the script; true when it changed. Wine replaces a file by deleting it
// first: a script missing for a moment is no empty one.
static bool LoadScript()
{
    std::ifstream file(g_folder + "\\FakeMediaSessions.cfg", std::ios::binary);
    if (!file.is_open())
        return false;
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EnterCriticalSection(&g_lock);
    bool bChanged = text != g_text;
    g_text = text;
    g_script.clear();
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        g_script[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
    LeaveCriticalSection(&g_lock);
    return bChanged;
}

static DWORD WINAPI WatchScript(void*)
{
    for (;; Sleep(100))
    {
        if (!LoadScript())
            continue;
        RaiseEvents();
        Record("changed");
    }
}

bool StartWatching()
{
    LoadScript();
    return CloseHandle(CreateThread(NULL, 0, WatchScript, NULL, 0, NULL)) != FALSE;
}

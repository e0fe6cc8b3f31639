// What the two halves of the fake session manager share: its objects, each
// interface a face with the one table, and the script and record beside the DLL.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <initializer_list>
#include <string>
#include <utility>

typedef void (*Entry)();
const int SLOTS = 32;
// The kinds of interface, for what they answer.
const int FACTORY = 0, STATICS = 1, ASYNC = 2, READ = 3, INFO = 4, MANAGER = 5, LIST = 6,
          SESSION = 7, PROPERTIES = 8, TIMELINE = 9, PLAYBACK = 10, CONTROLS = 11, BOOL_VALUE = 12,
          ENUM_VALUE = 13, THUMBNAIL = 14, STREAM = 15, RANDOM = 16, INPUT_STREAM = 17, TYPE = 18,
          CLOSABLE = 19, EVENT_ARGS = 20;

// A position of an interface of a kind, for Answer's cases.
#define K(nKind, nSlot) ((nKind)*SLOTS + (nSlot))

struct Object;
struct Face
{
    const Entry* pTable;
    Object* pObject;
    int nKind;
};
// An interface of an object: its kind and its id.
typedef std::pair<int, const wchar_t*> Kind;
struct Object
{
    Face faces[5];
    IID iids[5];
    int nFaces;
    LONG nRefs;
    int nSession;
    IUnknown* pResult; // an operation's, or NULL when its result is the boolean nValue
    INT32 nValue;      // also a reference's value and a stream's offset
    IUnknown* pHandler;
};
struct Listener
{
    IUnknown* pHandler;
    const wchar_t* pszArgsIid;
    Object* pSource;
};

// The objects (FakeMediaSessions.cpp).
Object* New(std::initializer_list<Kind> kinds, int nSession = 0);
HRESULT Out(void* ppOut, Object* pObject);
ULONG STDMETHODCALLTYPE Release(Face* pThis);
// Calls a caller's object (its handler or buffer) at a position of its table.
HRESULT Call(IUnknown* pTarget, int nSlot, void* pFirst, INT_PTR nSecond = 0);

// The script, the record and the change events (FakeSessionScript.cpp).
void InitScript(const std::string& folder);
void Record(const std::string& line);
std::string Script(const char* pszKey, int nSession = 0);
long long Number(const char* pszKey, int nSession = 0);
HRESULT Listen(Object* pSource, int nSlot, IUnknown* pHandler, INT64* pnToken);
HRESULT StopListening(INT64 nToken);
// Reads the script and watches it for changes from now on.
bool StartWatching();

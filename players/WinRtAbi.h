// The Windows Runtime interfaces through which the media sessions are read and
// driven, declared by the positions of their function tables, with their ids.
// Our own declarations: MinGW has none for the media control classes and gets
// two of the generic ones wrong. Entries 0-5 of a runtime interface are
// IInspectable's, 0-2 of a delegate or IBufferByteAccess IUnknown's.
#pragma once
#include <windows.h>
#include "Automation.h"

// A runtime string handle; NULL is the empty string.
typedef struct RtStringHandle* RtString;
// Room for the header of a string made by reference (24 bytes on x64, 20 on x86).
struct RtStringHeader
{
    union
    {
        void* pAlign;
        char reserved[24];
    } u;
};
// TimeSpan and DateTime are structs of one 64-bit count of 100 ns (DateTime
// since 1601, as a FILETIME), an event token one of a 64-bit value: passed and
// returned exactly as the bare integer.
typedef INT64 RtTicks;
typedef INT64 RtEventToken;
// The runtime's boolean: one byte.
typedef unsigned char RtBool;

const INT32 RT_INIT_MULTITHREADED = 1;
// AsyncStatus
const INT32 RT_ASYNC_STARTED = 0;
const INT32 RT_ASYNC_COMPLETED = 1;
const INT32 RT_ASYNC_CANCELED = 2;
const INT32 RT_ASYNC_ERROR = 3;

// IInspectable, IAgileObject and IAsyncInfo.
static const IID IID_RtInspectable = {
    0xaf86e2e0, 0xb12d, 0x4c6a, {0x9c, 0x5a, 0xd7, 0xaa, 0x65, 0x10, 0x1e, 0x90}};
static const IID IID_RtAgileObject = {
    0x94ea2b94, 0xe9cc, 0x49e0, {0xc0, 0xff, 0xee, 0x64, 0xca, 0x8f, 0x5b, 0x90}};
static const IID IID_RtAsyncInfo = {
    0x00000036, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// IGlobalSystemMediaTransportControlsSessionManagerStatics
static const IID IID_SmtcManagerStatics = {
    0x2050c4ee, 0x11a0, 0x57de, {0xae, 0xd7, 0xc9, 0x7c, 0x70, 0x33, 0x82, 0x45}};
// AsyncOperationCompletedHandler<T> for the session manager, media properties,
// bool and IRandomAccessStreamWithContentType; the one of IInputStream::ReadAsync.
static const IID IID_ManagerCompleted = {
    0x10f0074e, 0x923d, 0x5510, {0x8f, 0x4a, 0xdd, 0xe3, 0x77, 0x54, 0xca, 0x0e}};
static const IID IID_PropertiesCompleted = {
    0x84593a3d, 0x951a, 0x55b6, {0x83, 0x53, 0x52, 0x05, 0xe5, 0x77, 0x79, 0x7b}};
static const IID IID_BoolCompleted = {
    0xc1d3d1a2, 0xae17, 0x5a5f, {0xb5, 0xa2, 0xbd, 0xcc, 0x88, 0x44, 0x88, 0x9a}};
static const IID IID_StreamCompleted = {
    0x3dddecf4, 0x1d39, 0x58e8, {0x83, 0xb1, 0xdb, 0xed, 0x54, 0x1c, 0x7f, 0x35}};
static const IID IID_ReadCompleted = {
    0x06386a7a, 0xe009, 0x5b0b, {0xab, 0x68, 0xa8, 0xe4, 0x8b, 0x51, 0x66, 0x47}};
// TypedEventHandler<Manager, CurrentSessionChanged/SessionsChanged EventArgs>
static const IID IID_CurrentSessionChangedHandler = {
    0x228bd0ed, 0x1fa2, 0x5e9b, {0xa6, 0xec, 0x42, 0x56, 0x61, 0x73, 0x10, 0x3b}};
static const IID IID_SessionsChangedHandler = {
    0x2e2a8630, 0xdc8c, 0x530a, {0x97, 0x46, 0xbc, 0x98, 0x4d, 0x4b, 0x02, 0x9e}};
// TypedEventHandler<Session, MediaProperties/PlaybackInfo/TimelineProperties ChangedEventArgs>
static const IID IID_MediaPropertiesChangedHandler = {
    0x0f2ce2b7, 0xafa7, 0x5ed0, {0x8c, 0xb6, 0x8c, 0x40, 0xcf, 0x9b, 0x3a, 0x5f}};
static const IID IID_PlaybackInfoChangedHandler = {
    0x2bdf1426, 0xd41f, 0x5896, {0x89, 0x7f, 0xef, 0xc0, 0xb0, 0xfa, 0x73, 0x92}};
static const IID IID_TimelinePropertiesChangedHandler = {
    0xe8bf62af, 0xfac1, 0x5fff, {0x90, 0x53, 0x0b, 0xf1, 0x91, 0xae, 0x77, 0x7e}};
// The artwork's stream and the buffer it is read into.
static const IID IID_RtRandomAccessStream = {
    0x905a0fe1, 0xbc53, 0x11df, {0x8c, 0x49, 0x00, 0x1e, 0x4f, 0xc6, 0x86, 0xda}};
static const IID IID_RtInputStream = {
    0x905a0fe2, 0xbc53, 0x11df, {0x8c, 0x49, 0x00, 0x1e, 0x4f, 0xc6, 0x86, 0xda}};
static const IID IID_RtContentTypeProvider = {
    0x97d098a5, 0x3b99, 0x4de9, {0x88, 0xa5, 0xe1, 0x1d, 0x2f, 0x50, 0xc7, 0x95}};
static const IID IID_RtClosable = {
    0x30d5a829, 0x7fa4, 0x4026, {0x83, 0xbb, 0xd7, 0x5b, 0xae, 0x4e, 0xa9, 0x9e}};
static const IID IID_RtBuffer = {
    0x905a0fe0, 0xbc53, 0x11df, {0x8c, 0x49, 0x00, 0x1e, 0x4f, 0xc6, 0x86, 0xda}};
static const IID IID_RtBufferByteAccess = {
    0x905a0fef, 0xbc53, 0x11df, {0x8c, 0x49, 0x00, 0x1e, 0x4f, 0xc6, 0x86, 0xda}};

struct RtAsyncOperation;
struct RtReadOperation;
struct RtAsyncInfo;
struct RtCompletionHandler;
struct RtEventHandler;
struct RtReference;
struct RtStreamReference;
struct RtRandomAccessStream;
struct RtInputStream;
struct RtContentTypeProvider;
struct RtClosable;
struct RtBuffer;
struct RtBufferByteAccess;
struct SmtcManagerStatics;
struct SmtcManager;
struct SmtcSessionList;
struct SmtcSession;
struct SmtcMediaProperties;
struct SmtcTimeline;
struct SmtcPlaybackInfo;
struct SmtcControls;

// IAsyncOperation<T>, one layout for every T. The result is T as the operation
// hands it over: an interface pointer or a one-byte boolean.
struct RtAsyncOperationTable
{
    void* pInspectable[6];
    HRESULT(STDMETHODCALLTYPE* put_Completed)
    (RtAsyncOperation* pThis, RtCompletionHandler* pHandler);
    void* pGetCompleted;
    HRESULT(STDMETHODCALLTYPE* GetResults)(RtAsyncOperation* pThis, void* pResult);
};
CHECK_TABLE_POSITION(RtAsyncOperationTable, put_Completed, 6);
CHECK_TABLE_POSITION(RtAsyncOperationTable, GetResults, 8);

// IAsyncOperationWithProgress<IBuffer, UINT32>, what IInputStream::ReadAsync gives.
struct RtReadOperationTable
{
    void* pInspectable[6];
    void* pProgress[2];
    HRESULT(STDMETHODCALLTYPE* put_Completed)
    (RtReadOperation* pThis, RtCompletionHandler* pHandler);
    void* pGetCompleted;
    HRESULT(STDMETHODCALLTYPE* GetResults)(RtReadOperation* pThis, RtBuffer** ppBuffer);
};
CHECK_TABLE_POSITION(RtReadOperationTable, put_Completed, 8);
CHECK_TABLE_POSITION(RtReadOperationTable, GetResults, 10);

struct RtAsyncInfoTable
{
    void* pInspectable[6];
    void* pGetId;
    HRESULT(STDMETHODCALLTYPE* get_Status)(RtAsyncInfo* pThis, INT32* pnStatus);
    HRESULT(STDMETHODCALLTYPE* get_ErrorCode)(RtAsyncInfo* pThis, HRESULT* pnError);
    HRESULT(STDMETHODCALLTYPE* Cancel)(RtAsyncInfo* pThis);
    HRESULT(STDMETHODCALLTYPE* Close)(RtAsyncInfo* pThis);
};
CHECK_TABLE_POSITION(RtAsyncInfoTable, get_Status, 7);
CHECK_TABLE_POSITION(RtAsyncInfoTable, Close, 10);

// Both the completion handlers and the event handlers are ours: full tables.
struct RtCompletionHandlerTable
{
    HRESULT(STDMETHODCALLTYPE* QueryInterface)
    (RtCompletionHandler* pThis, REFIID iid, void** ppObject);
    ULONG(STDMETHODCALLTYPE* AddRef)(RtCompletionHandler* pThis);
    ULONG(STDMETHODCALLTYPE* Release)(RtCompletionHandler* pThis);
    HRESULT(STDMETHODCALLTYPE* Invoke)(RtCompletionHandler* pThis, void* pOperation, INT32 nStatus);
};
CHECK_TABLE_POSITION(RtCompletionHandlerTable, Invoke, 3);

struct RtEventHandlerTable
{
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(RtEventHandler* pThis, REFIID iid, void** ppObject);
    ULONG(STDMETHODCALLTYPE* AddRef)(RtEventHandler* pThis);
    ULONG(STDMETHODCALLTYPE* Release)(RtEventHandler* pThis);
    HRESULT(STDMETHODCALLTYPE* Invoke)(RtEventHandler* pThis, void* pSender, void* pArgs);
};
CHECK_TABLE_POSITION(RtEventHandlerTable, Invoke, 3);

// IReference<T>: the value as T is laid out (a boolean, an INT32 enum, a double).
struct RtReferenceTable
{
    void* pInspectable[6];
    HRESULT(STDMETHODCALLTYPE* get_Value)(RtReference* pThis, void* pValue);
};
CHECK_TABLE_POSITION(RtReferenceTable, get_Value, 6);

// IRandomAccessStreamReference: OpenReadAsync gives
// IAsyncOperation<IRandomAccessStreamWithContentType>, whose object also has the
// stream interfaces below (reached through QueryInterface).
struct RtStreamReferenceTable
{
    void* pInspectable[6];
    HRESULT(STDMETHODCALLTYPE* OpenReadAsync)(RtStreamReference* pThis, RtAsyncOperation** ppOpen);
};
CHECK_TABLE_POSITION(RtStreamReferenceTable, OpenReadAsync, 6);

struct RtRandomAccessStreamTable
{
    void* pInspectable[6];
    HRESULT(STDMETHODCALLTYPE* get_Size)(RtRandomAccessStream* pThis, UINT64* pnSize);
};
CHECK_TABLE_POSITION(RtRandomAccessStreamTable, get_Size, 6);

// InputStreamOptions None
const INT32 RT_READ_WHOLE = 0;

struct RtInputStreamTable
{
    void* pInspectable[6];
    HRESULT(STDMETHODCALLTYPE* ReadAsync)
    (RtInputStream* pThis, RtBuffer* pBuffer, UINT32 nCount, INT32 nOptions,
     RtReadOperation** ppRead);
};
CHECK_TABLE_POSITION(RtInputStreamTable, ReadAsync, 6);

struct RtContentTypeProviderTable
{
    void* pInspectable[6];
    HRESULT(STDMETHODCALLTYPE* get_ContentType)(RtContentTypeProvider* pThis, RtString* pType);
};
CHECK_TABLE_POSITION(RtContentTypeProviderTable, get_ContentType, 6);

struct RtClosableTable
{
    void* pInspectable[6];
    HRESULT(STDMETHODCALLTYPE* Close)(RtClosable* pThis);
};
CHECK_TABLE_POSITION(RtClosableTable, Close, 6);

// IBuffer, which we implement (Wine registers no Buffer class) and also call on
// the buffer a read hands back; full table.
struct RtBufferTable
{
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(RtBuffer* pThis, REFIID iid, void** ppObject);
    ULONG(STDMETHODCALLTYPE* AddRef)(RtBuffer* pThis);
    ULONG(STDMETHODCALLTYPE* Release)(RtBuffer* pThis);
    HRESULT(STDMETHODCALLTYPE* GetIids)(RtBuffer* pThis, ULONG* pnCount, IID** ppIids);
    HRESULT(STDMETHODCALLTYPE* GetRuntimeClassName)(RtBuffer* pThis, RtString* pName);
    HRESULT(STDMETHODCALLTYPE* GetTrustLevel)(RtBuffer* pThis, INT32* pnLevel);
    HRESULT(STDMETHODCALLTYPE* get_Capacity)(RtBuffer* pThis, UINT32* pnCapacity);
    HRESULT(STDMETHODCALLTYPE* get_Length)(RtBuffer* pThis, UINT32* pnLength);
    HRESULT(STDMETHODCALLTYPE* put_Length)(RtBuffer* pThis, UINT32 nLength);
};
CHECK_TABLE_POSITION(RtBufferTable, get_Capacity, 6);
CHECK_TABLE_POSITION(RtBufferTable, put_Length, 8);

// IBufferByteAccess (robuffer.h), IUnknown-based.
struct RtBufferByteAccessTable
{
    HRESULT(STDMETHODCALLTYPE* QueryInterface)
    (RtBufferByteAccess* pThis, REFIID iid, void** ppObject);
    ULONG(STDMETHODCALLTYPE* AddRef)(RtBufferByteAccess* pThis);
    ULONG(STDMETHODCALLTYPE* Release)(RtBufferByteAccess* pThis);
    HRESULT(STDMETHODCALLTYPE* Buffer)(RtBufferByteAccess* pThis, BYTE** ppBytes);
};
CHECK_TABLE_POSITION(RtBufferByteAccessTable, Buffer, 3);

// Windows.Media.Control: the GlobalSystemMediaTransportControls classes.

struct SmtcManagerStaticsTable
{
    void* pInspectable[6];
    HRESULT(STDMETHODCALLTYPE* RequestAsync)(SmtcManagerStatics* pThis, RtAsyncOperation** ppOpen);
};
CHECK_TABLE_POSITION(SmtcManagerStaticsTable, RequestAsync, 6);

struct SmtcManagerTable
{
    void* pInspectable[6];
    HRESULT(STDMETHODCALLTYPE* GetCurrentSession)(SmtcManager* pThis, SmtcSession** ppSession);
    HRESULT(STDMETHODCALLTYPE* GetSessions)(SmtcManager* pThis, SmtcSessionList** ppSessions);
    HRESULT(STDMETHODCALLTYPE* add_CurrentSessionChanged)
    (SmtcManager* pThis, RtEventHandler* pHandler, RtEventToken* pnToken);
    HRESULT(STDMETHODCALLTYPE* remove_CurrentSessionChanged)
    (SmtcManager* pThis, RtEventToken nToken);
    HRESULT(STDMETHODCALLTYPE* add_SessionsChanged)
    (SmtcManager* pThis, RtEventHandler* pHandler, RtEventToken* pnToken);
    HRESULT(STDMETHODCALLTYPE* remove_SessionsChanged)(SmtcManager* pThis, RtEventToken nToken);
};
CHECK_TABLE_POSITION(SmtcManagerTable, GetCurrentSession, 6);
CHECK_TABLE_POSITION(SmtcManagerTable, remove_SessionsChanged, 11);

// IVectorView<Session>
struct SmtcSessionListTable
{
    void* pInspectable[6];
    HRESULT(STDMETHODCALLTYPE* GetAt)
    (SmtcSessionList* pThis, UINT32 nIndex, SmtcSession** ppSession);
    HRESULT(STDMETHODCALLTYPE* get_Size)(SmtcSessionList* pThis, UINT32* pnSize);
};
CHECK_TABLE_POSITION(SmtcSessionListTable, get_Size, 7);

typedef HRESULT(STDMETHODCALLTYPE* SmtcRequest)(SmtcSession* pThis, RtAsyncOperation** ppDone);
typedef HRESULT(STDMETHODCALLTYPE* SmtcSubscribe)(SmtcSession* pThis, RtEventHandler* pHandler,
                                                  RtEventToken* pnToken);
typedef HRESULT(STDMETHODCALLTYPE* SmtcUnsubscribe)(SmtcSession* pThis, RtEventToken nToken);

// Every Try...Async request gives IAsyncOperation<bool>: whether the app took it.
struct SmtcSessionTable
{
    void* pInspectable[6];
    HRESULT(STDMETHODCALLTYPE* get_SourceAppUserModelId)(SmtcSession* pThis, RtString* pId);
    HRESULT(STDMETHODCALLTYPE* TryGetMediaPropertiesAsync)
    (SmtcSession* pThis, RtAsyncOperation** ppRead);
    HRESULT(STDMETHODCALLTYPE* GetTimelineProperties)
    (SmtcSession* pThis, SmtcTimeline** ppTimeline);
    HRESULT(STDMETHODCALLTYPE* GetPlaybackInfo)(SmtcSession* pThis, SmtcPlaybackInfo** ppInfo);
    SmtcRequest TryPlayAsync;
    SmtcRequest TryPauseAsync;
    SmtcRequest TryStopAsync;
    void* pUnused13[3];
    SmtcRequest TrySkipNextAsync;
    SmtcRequest TrySkipPreviousAsync;
    void* pUnused18[3];
    HRESULT(STDMETHODCALLTYPE* TryChangeAutoRepeatModeAsync)
    (SmtcSession* pThis, INT32 nMode, RtAsyncOperation** ppDone);
    void* pUnused22;
    HRESULT(STDMETHODCALLTYPE* TryChangeShuffleActiveAsync)
    (SmtcSession* pThis, RtBool bShuffle, RtAsyncOperation** ppDone);
    HRESULT(STDMETHODCALLTYPE* TryChangePlaybackPositionAsync)
    (SmtcSession* pThis, INT64 nTicks, RtAsyncOperation** ppDone);
    SmtcSubscribe add_TimelinePropertiesChanged;
    SmtcUnsubscribe remove_TimelinePropertiesChanged;
    SmtcSubscribe add_PlaybackInfoChanged;
    SmtcUnsubscribe remove_PlaybackInfoChanged;
    SmtcSubscribe add_MediaPropertiesChanged;
    SmtcUnsubscribe remove_MediaPropertiesChanged;
};
CHECK_TABLE_POSITION(SmtcSessionTable, TryPlayAsync, 10);
CHECK_TABLE_POSITION(SmtcSessionTable, TrySkipNextAsync, 16);
CHECK_TABLE_POSITION(SmtcSessionTable, TryChangeAutoRepeatModeAsync, 21);
CHECK_TABLE_POSITION(SmtcSessionTable, TryChangePlaybackPositionAsync, 24);
CHECK_TABLE_POSITION(SmtcSessionTable, add_TimelinePropertiesChanged, 25);
CHECK_TABLE_POSITION(SmtcSessionTable, remove_MediaPropertiesChanged, 30);

// AlbumArtist comes before Artist, and AlbumTitle after both.
struct SmtcMediaPropertiesTable
{
    void* pInspectable[6];
    HRESULT(STDMETHODCALLTYPE* get_Title)(SmtcMediaProperties* pThis, RtString* pTitle);
    void* pUnused7[2];
    HRESULT(STDMETHODCALLTYPE* get_Artist)(SmtcMediaProperties* pThis, RtString* pArtist);
    HRESULT(STDMETHODCALLTYPE* get_AlbumTitle)(SmtcMediaProperties* pThis, RtString* pAlbum);
    void* pUnused11[4];
    HRESULT(STDMETHODCALLTYPE* get_Thumbnail)
    (SmtcMediaProperties* pThis, RtStreamReference** ppThumbnail);
};
CHECK_TABLE_POSITION(SmtcMediaPropertiesTable, get_Artist, 9);
CHECK_TABLE_POSITION(SmtcMediaPropertiesTable, get_AlbumTitle, 10);
CHECK_TABLE_POSITION(SmtcMediaPropertiesTable, get_Thumbnail, 15);

struct SmtcTimelineTable
{
    void* pInspectable[6];
    HRESULT(STDMETHODCALLTYPE* get_StartTime)(SmtcTimeline* pThis, RtTicks* pnTicks);
    HRESULT(STDMETHODCALLTYPE* get_EndTime)(SmtcTimeline* pThis, RtTicks* pnTicks);
    void* pUnused8[2];
    HRESULT(STDMETHODCALLTYPE* get_Position)(SmtcTimeline* pThis, RtTicks* pnTicks);
    HRESULT(STDMETHODCALLTYPE* get_LastUpdatedTime)(SmtcTimeline* pThis, RtTicks* pnTime);
};
CHECK_TABLE_POSITION(SmtcTimelineTable, get_Position, 10);
CHECK_TABLE_POSITION(SmtcTimelineTable, get_LastUpdatedTime, 11);

// The repeat mode is an IReference<MediaPlaybackAutoRepeatMode>, the rate an
// IReference<double>, shuffle an IReference<bool>; any may be NULL: the app
// does not tell.
struct SmtcPlaybackInfoTable
{
    void* pInspectable[6];
    HRESULT(STDMETHODCALLTYPE* get_Controls)(SmtcPlaybackInfo* pThis, SmtcControls** ppControls);
    HRESULT(STDMETHODCALLTYPE* get_PlaybackStatus)(SmtcPlaybackInfo* pThis, INT32* pnStatus);
    void* pUnused8;
    HRESULT(STDMETHODCALLTYPE* get_AutoRepeatMode)(SmtcPlaybackInfo* pThis, RtReference** ppMode);
    HRESULT(STDMETHODCALLTYPE* get_PlaybackRate)(SmtcPlaybackInfo* pThis, RtReference** ppRate);
    HRESULT(STDMETHODCALLTYPE* get_IsShuffleActive)(SmtcPlaybackInfo* pThis, RtReference** ppOn);
};
CHECK_TABLE_POSITION(SmtcPlaybackInfoTable, get_PlaybackStatus, 7);
CHECK_TABLE_POSITION(SmtcPlaybackInfoTable, get_AutoRepeatMode, 9);
CHECK_TABLE_POSITION(SmtcPlaybackInfoTable, get_PlaybackRate, 10);
CHECK_TABLE_POSITION(SmtcPlaybackInfoTable, get_IsShuffleActive, 11);

// The PlaybackControls flags, in the order of their getters.
enum SmtcControl
{
    CONTROL_PLAY,
    CONTROL_PAUSE,
    CONTROL_STOP,
    CONTROL_RECORD,
    CONTROL_FAST_FORWARD,
    CONTROL_REWIND,
    CONTROL_NEXT,
    CONTROL_PREVIOUS,
    CONTROL_CHANNEL_UP,
    CONTROL_CHANNEL_DOWN,
    CONTROL_PLAY_PAUSE_TOGGLE,
    CONTROL_SHUFFLE,
    CONTROL_REPEAT,
    CONTROL_PLAYBACK_RATE,
    CONTROL_PLAYBACK_POSITION,
    CONTROL_COUNT
};

struct SmtcControlsTable
{
    void* pInspectable[6];
    HRESULT(STDMETHODCALLTYPE* IsEnabled[CONTROL_COUNT])(SmtcControls* pThis, RtBool* pbEnabled);
};
CHECK_TABLE_POSITION(SmtcControlsTable, IsEnabled, 6);

#define RT_OBJECT(Name)                                                                            \
    struct Name                                                                                    \
    {                                                                                              \
        const Name##Table* pTable;                                                                 \
    }
RT_OBJECT(RtAsyncOperation);
RT_OBJECT(RtReadOperation);
RT_OBJECT(RtAsyncInfo);
RT_OBJECT(RtCompletionHandler);
RT_OBJECT(RtEventHandler);
RT_OBJECT(RtReference);
RT_OBJECT(RtStreamReference);
RT_OBJECT(RtRandomAccessStream);
RT_OBJECT(RtInputStream);
RT_OBJECT(RtContentTypeProvider);
RT_OBJECT(RtClosable);
RT_OBJECT(RtBuffer);
RT_OBJECT(RtBufferByteAccess);
RT_OBJECT(SmtcManagerStatics);
RT_OBJECT(SmtcManager);
RT_OBJECT(SmtcSessionList);
RT_OBJECT(SmtcSession);
RT_OBJECT(SmtcMediaProperties);
RT_OBJECT(SmtcTimeline);
RT_OBJECT(SmtcPlaybackInfo);
RT_OBJECT(SmtcControls);
#undef RT_OBJECT

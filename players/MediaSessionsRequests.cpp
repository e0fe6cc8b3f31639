// The requests that drive the session, on the sessions' own thread.
#include "MediaSessions.h"
#include "SessionReading.h"
#include "WinRtObjects.h"

// For each SessionRequest: the flag that allows it, the call, what it asks (for the log).
static const SmtcControl s_requestControls[SESSION_REQUEST_COUNT] = {
    CONTROL_PLAY,    CONTROL_PAUSE,    CONTROL_STOP,
    CONTROL_NEXT,    CONTROL_PREVIOUS, CONTROL_PLAYBACK_POSITION,
    CONTROL_SHUFFLE, CONTROL_REPEAT};
static const char* const s_requestCalls[SESSION_REQUEST_COUNT] = {
    "Session.TryPlayAsync",
    "Session.TryPauseAsync",
    "Session.TryStopAsync",
    "Session.TrySkipNextAsync",
    "Session.TrySkipPreviousAsync",
    "Session.TryChangePlaybackPositionAsync",
    "Session.TryChangeShuffleActiveAsync",
    "Session.TryChangeAutoRepeatModeAsync"};

// S_FALSE in the outcome: the key is to stand in. Whether the app allows the
// request is read afresh: apps allow Play only while paused, and so on.
void CMediaSessions::SendRequest(SessionRequest request, int nArgument, AutomationOutcome& outcome)
{
    Refresh(STALE_PLAYBACK);
    if (m_session.IsEmpty() || !(m_read.nControls & (1u << s_requestControls[request])))
    {
        outcome.hr = S_FALSE;
        return;
    }
    SmtcSession* pSession = m_session.Get();
    const SmtcSessionTable* pTable = pSession->pTable;
    CComRef<RtAsyncOperation> done;
    RtAsyncOperation** ppDone = done.Receive();
    HRESULT hr = E_INVALIDARG;
    switch (request)
    {
    case SESSION_PLAY:
        hr = pTable->TryPlayAsync(pSession, ppDone);
        break;
    case SESSION_PAUSE:
        hr = pTable->TryPauseAsync(pSession, ppDone);
        break;
    case SESSION_STOP:
        hr = pTable->TryStopAsync(pSession, ppDone);
        break;
    case SESSION_NEXT:
        hr = pTable->TrySkipNextAsync(pSession, ppDone);
        break;
    case SESSION_PREVIOUS:
        hr = pTable->TrySkipPreviousAsync(pSession, ppDone);
        break;
    case SESSION_SEEK:
        hr = pTable->TryChangePlaybackPositionAsync(pSession, SeekTicks(nArgument, m_read.timeline),
                                                    ppDone);
        break;
    case SESSION_SHUFFLE:
        hr = pTable->TryChangeShuffleActiveAsync(pSession, nArgument ? 1 : 0, ppDone);
        break;
    case SESSION_REPEAT:
        hr = pTable->TryChangeAutoRepeatModeAsync(
            pSession, nArgument ? SESSION_REPEAT_LIST : SESSION_REPEAT_NONE, ppDone);
        break;
    default:
        break;
    }
    RtBool bTaken = 0;
    if (SUCCEEDED(hr))
        hr = AwaitOperation(done.Get(), IID_BoolCompleted, &bTaken);
    if (Succeeded(hr, s_requestCalls[request], outcome))
        outcome.hr = bTaken ? S_OK : S_FALSE;
}

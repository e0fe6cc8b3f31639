// Values read out of the system's media session objects. Called on the media
// sessions' own thread, like every runtime call.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include <string>
#include "Automation.h"
#include "WinRtAbi.h"

typedef HRESULT(STDMETHODCALLTYPE* TextGetter)(SmtcMediaProperties* pThis, RtString* pText);

std::wstring AppIdOf(SmtcSession* pSession);
// A text the app does not give is empty.
std::wstring ReadText(SmtcMediaProperties* pProperties, TextGetter pGet);
// An IReference the app leaves empty is -1, as is one that cannot be read.
int ReadBoolReference(RtReference* pReference);
int ReadEnumReference(RtReference* pReference);
// An app that does not tell its rate plays at the normal one.
double ReadRate(RtReference* pReference);
// The SmtcControl flags the app allows now, one bit each.
unsigned ReadControls(SmtcControls* pControls);
// The stream's MIME type as the app tells it; "" when it tells none.
std::wstring ReadContentType(IUnknown* pStream);
// Reads the stream to its end; nothing of one larger than nMaxBytes.
void ReadWholeStream(IUnknown* pStream, UINT64 nMaxBytes, std::string& bytes,
                     AutomationOutcome& outcome);

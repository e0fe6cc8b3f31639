// Values read out of the system's media session objects, each on its own:
// what an app leaves out reads as "nothing told", never as a failure.
#include "SessionReading.h"
#include "WinRtObjects.h"
#include "WinRtRuntime.h"
#include "../framework/ScopedCom.h"

std::wstring AppIdOf(SmtcSession* pSession)
{
    CRtString id;
    pSession->pTable->get_SourceAppUserModelId(pSession, id.Receive());
    return id.Text();
}

// A text the app does not give is empty.
std::wstring ReadText(SmtcMediaProperties* pProperties, TextGetter pGet)
{
    CRtString text;
    pGet(pProperties, text.Receive());
    return text.Text();
}

// An IReference the app leaves empty is -1, as is one that cannot be read.
int ReadBoolReference(RtReference* pReference)
{
    RtBool bValue = 0;
    if (!pReference || FAILED(pReference->pTable->get_Value(pReference, &bValue)))
        return -1;
    return bValue ? 1 : 0;
}

int ReadEnumReference(RtReference* pReference)
{
    INT32 nValue = 0;
    if (!pReference || FAILED(pReference->pTable->get_Value(pReference, &nValue)))
        return -1;
    return nValue;
}

// An app that does not tell its rate plays at the normal one.
double ReadRate(RtReference* pReference)
{
    double fRate = 1;
    if (!pReference || FAILED(pReference->pTable->get_Value(pReference, &fRate)))
        return 1;
    return fRate;
}

unsigned ReadControls(SmtcControls* pControls)
{
    unsigned nControls = 0;
    for (int i = 0; pControls && i < CONTROL_COUNT; i++)
    {
        RtBool bEnabled = 0;
        if (SUCCEEDED(pControls->pTable->IsEnabled[i](pControls, &bEnabled)) && bEnabled)
            nControls |= 1u << i;
    }
    return nControls;
}

std::wstring ReadContentType(IUnknown* pStream)
{
    CComRef<RtContentTypeProvider> provider;
    CRtString type;
    if (SUCCEEDED(QueryRt(pStream, IID_RtContentTypeProvider, provider.ReceiveVoid())))
        provider.Get()->pTable->get_ContentType(provider.Get(), type.Receive());
    return type.Text();
}

// Reads the stream to its end in reads of what is left; a read may give less.
void ReadWholeStream(IUnknown* pStream, UINT64 nMaxBytes, std::string& bytes,
                     AutomationOutcome& outcome)
{
    CComRef<RtRandomAccessStream> random;
    CComRef<RtInputStream> input;
    UINT64 nSize = 0;
    HRESULT hr = QueryRt(pStream, IID_RtRandomAccessStream, random.ReceiveVoid());
    if (SUCCEEDED(hr))
        hr = random.Get()->pTable->get_Size(random.Get(), &nSize);
    if (SUCCEEDED(hr) && nSize > nMaxBytes)
        hr = HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
    if (SUCCEEDED(hr))
        hr = QueryRt(pStream, IID_RtInputStream, input.ReceiveVoid());
    if (!Succeeded(hr, "Thumbnail.Size", outcome))
        return;
    while (bytes.size() < nSize)
    {
        UINT32 nWanted = static_cast<UINT32>(nSize - bytes.size());
        CComRef<RtBuffer> buffer, filled;
        CComRef<RtReadOperation> read;
        CComRef<RtBufferByteAccess> access;
        *buffer.Receive() = NewBuffer(nWanted);
        hr = buffer.IsEmpty() ? E_OUTOFMEMORY
                              : input.Get()->pTable->ReadAsync(input.Get(), buffer.Get(), nWanted,
                                                               RT_READ_WHOLE, read.Receive());
        if (SUCCEEDED(hr))
            hr = AwaitRead(read.Get(), filled.Receive());
        UINT32 nRead = 0;
        BYTE* pBytes = NULL;
        if (SUCCEEDED(hr))
            hr = QueryRt(filled.Get(), IID_RtBufferByteAccess, access.ReceiveVoid());
        if (SUCCEEDED(hr))
            hr = filled.Get()->pTable->get_Length(filled.Get(), &nRead);
        if (SUCCEEDED(hr))
            hr = access.Get()->pTable->Buffer(access.Get(), &pBytes);
        if (!Succeeded(hr, "Thumbnail.ReadAsync", outcome))
            return;
        if (nRead == 0 || !pBytes)
            return;
        bytes.append(reinterpret_cast<const char*>(pBytes), nRead < nWanted ? nRead : nWanted);
    }
}

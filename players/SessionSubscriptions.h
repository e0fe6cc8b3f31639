// Our handlers on the change events of the system's session objects: adding one,
// removing it, and letting go of one whose source can no longer be told.
#pragma once
#include <windows.h>
#include "WinRtAbi.h"
#include "WinRtObjects.h"
#include "../framework/ScopedCom.h"

// One change event we listen to: our handler and the source's token for it.
struct SessionSubscription
{
    CComRef<RtEventHandler> handler;
    RtEventToken nToken;
};

template <class Source, class Add>
inline void Subscribe(Source* pSource, Add pAdd, REFIID iid, ChangeCallback pCallback,
                      void* pContext, int nStale, SessionSubscription& subscription)
{
    RtEventHandler* pHandler = NewEventHandler(iid, pCallback, pContext, nStale);
    *subscription.handler.Receive() = pHandler;
    if (pHandler && FAILED(pAdd(pSource, pHandler, &subscription.nToken)))
    {
        DetachEventHandler(pHandler);
        subscription.handler.Reset();
    }
}

template <class Source, class Remove>
inline void Unsubscribe(Source* pSource, Remove pRemove, SessionSubscription& subscription)
{
    if (subscription.handler.IsEmpty())
        return;
    pRemove(pSource, subscription.nToken);
    DetachEventHandler(subscription.handler.Get());
    subscription.handler.Reset();
}

inline void LetGo(SessionSubscription* pEvents, size_t nCount)
{
    for (size_t i = 0; i < nCount; i++)
    {
        if (pEvents[i].handler.IsEmpty())
            continue;
        DetachEventHandler(pEvents[i].handler.Get());
        pEvents[i].handler.Detach();
    }
}

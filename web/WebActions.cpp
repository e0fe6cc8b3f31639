#include "WebActions.h"
#include "JsonReader.h"
#include "../core/CommandSet.h"

bool ParseWebAction(const CJsonValue& request, int* pnCommandId, long* pnValue)
{
    const CJsonValue* pOp = request.Find("op");
    if (!pOp)
        return false;
    bool bAction = pOp->Text() == "action";
    const CJsonValue* pName = bAction ? request.Find("name") : pOp;
    int nId = pName ? FindWebAction(pName->Text().c_str()) : CMD_UNKNOWN;
    if (nId == CMD_UNKNOWN)
        return false;
    const CommandRow& row = CommandRowOf(nId);
    // Buttons are actions by name; settings carry their number in an op of their own.
    if (bAction != (row.nParam != PARAM_NUMBER))
        return false;
    *pnCommandId = nId;
    *pnValue = 0;
    if (bAction)
        return true;
    const CJsonValue* pNumber = request.Find(row.pszWebField);
    long long nValue = 0;
    if (!pNumber || !pNumber->WholeNumber(row.nMin, row.nMax, &nValue))
        return false;
    *pnValue = static_cast<long>(nValue);
    return true;
}

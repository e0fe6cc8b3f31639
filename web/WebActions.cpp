#include "WebActions.h"
#include <stdlib.h>
#include "UrlText.h"
#include "../core/CommandSet.h"

// A decimal number of at most 10 digits and at most 2^31 - 1, nothing else.
static bool ParseNumber(const std::string& text, long* pnValue)
{
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    long long nValue = strtoll(text.c_str(), NULL, 10);
    if (nValue > 0x7FFFFFFF)
        return false;
    *pnValue = static_cast<long>(nValue);
    return true;
}

bool ParseWebAction(const std::string& name, const std::string& formBody, int* pnCommandId,
                    long* pnValue)
{
    int nId = FindWebAction(name.c_str());
    if (nId == CMD_UNKNOWN)
        return false;
    const CommandRow& row = CommandRowOf(nId);
    *pnCommandId = nId;
    *pnValue = 0;
    if (row.nParam != PARAM_NUMBER)
        return true;
    std::string text;
    return FormValue(formBody, row.pszWebField, &text) && ParseNumber(text, pnValue) &&
           *pnValue >= row.nMin && *pnValue <= row.nMax;
}

#include "ControllerChoice.h"
#include <string.h>

int ChooseKindForFile(const char* pszName, const char (*pExtensions)[260], int nKinds,
                      int nDefaultKind)
{
    const char* pDot = strrchr(pszName, '.');
    if (!pDot)
        return nDefaultKind;
    const char* pszExtension = pDot + 1;
    if (strstr(pExtensions[nDefaultKind], pszExtension))
        return nDefaultKind;
    for (int nKind = 0; nKind < nKinds; nKind++)
    {
        if (strstr(pExtensions[nKind], pszExtension))
            return nKind;
    }
    return nDefaultKind;
}

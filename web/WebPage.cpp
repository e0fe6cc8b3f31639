#include "WebPage.h"
#include <windows.h>
#include "../res/resource.h"

struct PageRoute
{
    const char* pszPath;
    int nResource;
    const char* pszType;
};

static const PageRoute s_pageRoutes[] = {
    {"/", IDR_WEB_PAGE_HTML, "text/html; charset=utf-8"},
    {"/app.css", IDR_WEB_PAGE_CSS, "text/css; charset=utf-8"},
    {"/app.js", IDR_WEB_PAGE_JS, "text/javascript; charset=utf-8"},
};

bool FindWebPageFile(const std::string& path, WebPageFile* pFile)
{
    for (size_t i = 0; i < sizeof(s_pageRoutes) / sizeof(s_pageRoutes[0]); i++)
    {
        const PageRoute& route = s_pageRoutes[i];
        if (path != route.pszPath)
            continue;
        // Resources stay mapped for the life of the process: nothing to free.
        HRSRC hInfo = FindResourceA(NULL, MAKEINTRESOURCEA(route.nResource), RT_RCDATA);
        HGLOBAL hData = hInfo ? LoadResource(NULL, hInfo) : NULL;
        if (!hData)
            return false;
        pFile->pData = static_cast<const char*>(LockResource(hData));
        pFile->nSize = SizeofResource(NULL, hInfo);
        pFile->pszType = route.pszType;
        return pFile->pData != NULL;
    }
    return false;
}

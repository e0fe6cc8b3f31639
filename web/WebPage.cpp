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
    {"/touchpad.js", IDR_WEB_TOUCHPAD_JS, "text/javascript; charset=utf-8"},
    {"/touchpad.css", IDR_WEB_TOUCHPAD_CSS, "text/css; charset=utf-8"},
    // What a phone needs to put the page on its home screen as an app.
    {"/manifest.webmanifest", IDR_WEB_MANIFEST, "application/manifest+json"},
    {"/favicon.ico", IDR_WEB_FAVICON, "image/x-icon"},
    {"/icon-192.png", IDR_WEB_ICON_192, "image/png"},
    {"/icon-512.png", IDR_WEB_ICON_512, "image/png"},
    {"/apple-touch-icon.png", IDR_WEB_TOUCH_ICON, "image/png"},
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

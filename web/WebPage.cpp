#include "WebPage.h"
#include <windows.h>
#include "../res/resource.h"

struct PageRoute
{
    const char* pszPath;
    int nResource;
    const char* pszType;
};

static const char SCRIPT_TYPE[] = "text/javascript; charset=utf-8";

static const PageRoute s_pageRoutes[] = {
    {"/", IDR_WEB_PAGE_HTML, "text/html; charset=utf-8"},
    {"/app.css", IDR_WEB_PAGE_CSS, "text/css; charset=utf-8"},
    {"/app.js", IDR_WEB_PAGE_JS, SCRIPT_TYPE},
    {"/channel.js", IDR_WEB_CHANNEL_JS, SCRIPT_TYPE},
    {"/channel-crypto.js", IDR_WEB_CHANNEL_CRYPTO_JS, SCRIPT_TYPE},
    {"/ui.js", IDR_WEB_UI_JS, SCRIPT_TYPE},
    {"/now.js", IDR_WEB_NOW_JS, SCRIPT_TYPE},
    {"/lists.js", IDR_WEB_LISTS_JS, SCRIPT_TYPE},
    {"/pairing.js", IDR_WEB_PAIRING_JS, SCRIPT_TYPE},
    // The page imports these as ES modules; their relative imports resolve to these paths.
    {"/vendor/noble-hashes/hkdf.js", IDR_WEB_NOBLE_HKDF_JS, SCRIPT_TYPE},
    {"/vendor/noble-hashes/hmac.js", IDR_WEB_NOBLE_HMAC_JS, SCRIPT_TYPE},
    {"/vendor/noble-hashes/sha2.js", IDR_WEB_NOBLE_SHA2_JS, SCRIPT_TYPE},
    {"/vendor/noble-hashes/_md.js", IDR_WEB_NOBLE_MD_JS, SCRIPT_TYPE},
    {"/vendor/noble-hashes/_u64.js", IDR_WEB_NOBLE_U64_JS, SCRIPT_TYPE},
    {"/vendor/noble-hashes/utils.js", IDR_WEB_NOBLE_HASHES_UTILS_JS, SCRIPT_TYPE},
    {"/vendor/noble-ciphers/aes.js", IDR_WEB_NOBLE_AES_JS, SCRIPT_TYPE},
    {"/vendor/noble-ciphers/_polyval.js", IDR_WEB_NOBLE_POLYVAL_JS, SCRIPT_TYPE},
    {"/vendor/noble-ciphers/utils.js", IDR_WEB_NOBLE_CIPHERS_UTILS_JS, SCRIPT_TYPE},
    {"/touchpad.js", IDR_WEB_TOUCHPAD_JS, SCRIPT_TYPE},
    {"/keyboard.js", IDR_WEB_KEYBOARD_JS, SCRIPT_TYPE},
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

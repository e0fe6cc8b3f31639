#include "AnsiText.h"
#include <windows.h>

static bool ToWide(UINT nCodePage, DWORD nFlags, const std::string& text, std::wstring* pWide)
{
    pWide->clear();
    if (text.empty())
        return true;
    int nSize = static_cast<int>(text.size());
    int nWide = MultiByteToWideChar(nCodePage, nFlags, text.data(), nSize, NULL, 0);
    if (nWide <= 0)
        return false;
    pWide->resize(nWide);
    return MultiByteToWideChar(nCodePage, nFlags, text.data(), nSize, &(*pWide)[0], nWide) == nWide;
}

static bool FromWide(UINT nCodePage, const std::wstring& wide, std::string* pText)
{
    pText->clear();
    if (wide.empty())
        return true;
    int nWide = static_cast<int>(wide.size());
    // The UTF-8 conversion takes no default character; the ANSI one says when it used it.
    BOOL bUsedDefault = FALSE;
    BOOL* pbUsedDefault = nCodePage == CP_UTF8 ? NULL : &bUsedDefault;
    DWORD nFlags = nCodePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    int nSize = WideCharToMultiByte(nCodePage, nFlags, wide.data(), nWide, NULL, 0, NULL, NULL);
    if (nSize <= 0)
        return false;
    pText->resize(nSize);
    int nDone = WideCharToMultiByte(nCodePage, nFlags, wide.data(), nWide, &(*pText)[0], nSize,
                                    NULL, pbUsedDefault);
    return nDone == nSize && !bUsedDefault;
}

std::string Utf8FromAnsi(const std::string& ansi)
{
    std::wstring wide;
    std::string utf8;
    if (!ToWide(CP_ACP, 0, ansi, &wide) || !FromWide(CP_UTF8, wide, &utf8))
        return std::string();
    return utf8;
}

bool AnsiFromUtf8(const std::string& utf8, std::string* pAnsi)
{
    std::wstring wide;
    if (!ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, &wide))
        return false;
    // A zero character would cut the name short where the handlers read it.
    if (wide.find(L'\0') != std::wstring::npos)
        return false;
    return FromWide(CP_ACP, wide, pAnsi);
}

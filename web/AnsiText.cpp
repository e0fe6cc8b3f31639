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

// bStrict: false when a character has no place in the code page, rather than
// putting the code page's default character or a look-alike in its stead.
static bool FromWide(UINT nCodePage, bool bStrict, const std::wstring& wide, std::string* pText)
{
    pText->clear();
    if (wide.empty())
        return true;
    int nWide = static_cast<int>(wide.size());
    // UTF-8, also as the system's ANSI code page (a Windows 10 option), takes
    // neither the best-fit flag nor the used-default one: a round trip tells instead.
    bool bUtf8 = nCodePage == CP_UTF8 || (nCodePage == CP_ACP && GetACP() == CP_UTF8);
    BOOL bUsedDefault = FALSE;
    BOOL* pbUsedDefault = bStrict && !bUtf8 ? &bUsedDefault : NULL;
    DWORD nFlags = bStrict && !bUtf8 ? WC_NO_BEST_FIT_CHARS : 0;
    int nSize = WideCharToMultiByte(nCodePage, nFlags, wide.data(), nWide, NULL, 0, NULL, NULL);
    if (nSize <= 0)
        return false;
    pText->resize(nSize);
    int nDone = WideCharToMultiByte(nCodePage, nFlags, wide.data(), nWide, &(*pText)[0], nSize,
                                    NULL, pbUsedDefault);
    if (nDone != nSize || bUsedDefault)
        return false;
    if (!bStrict || !bUtf8)
        return true;
    std::wstring back;
    return ToWide(nCodePage, 0, *pText, &back) && back == wide;
}

std::string Utf8FromAnsi(const std::string& ansi)
{
    std::wstring wide;
    std::string utf8;
    if (!ToWide(CP_ACP, 0, ansi, &wide) || !FromWide(CP_UTF8, false, wide, &utf8))
        return std::string();
    return utf8;
}

bool WideFromUtf8(const std::string& utf8, std::wstring* pWide)
{
    return ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, pWide) &&
           pWide->find(L'\0') == std::wstring::npos;
}

std::wstring WideFromAnsi(const std::string& ansi)
{
    std::wstring wide;
    ToWide(CP_ACP, 0, ansi, &wide);
    return wide;
}

bool AnsiFromWide(const std::wstring& wide, std::string* pAnsi)
{
    return FromWide(CP_ACP, true, wide, pAnsi);
}

std::string AnsiForLog(const std::wstring& wide)
{
    std::string ansi;
    FromWide(CP_ACP, false, wide, &ansi);
    return ansi;
}

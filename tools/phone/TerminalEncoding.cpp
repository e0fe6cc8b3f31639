#include "TerminalEncoding.h"
#include <ctype.h>
#include <string.h>

// "en_US.UTF-8", "C.utf8", "de_DE.UTF-8@euro": the code set between '.' and '@'.
static bool NamesUtf8(const char* pszLocale)
{
    const char* pszCodeSet = strchr(pszLocale, '.');
    if (!pszCodeSet)
        return false;
    char szLetters[8] = {};
    size_t nLetters = 0;
    for (const char* p = pszCodeSet + 1; *p && *p != '@'; p++)
    {
        if (*p == '-')
            continue;
        if (nLetters == sizeof(szLetters) - 1)
            return false;
        szLetters[nLetters++] = static_cast<char>(tolower(static_cast<unsigned char>(*p)));
    }
    return strcmp(szLetters, "utf8") == 0;
}

unsigned ChooseOutputCodePage(unsigned nConsoleCodePage, const char* pszLcAll,
                              const char* pszLcCtype, const char* pszLang)
{
    if (nConsoleCodePage != 0)
        return nConsoleCodePage;
    const char* const locales[] = {pszLcAll, pszLcCtype, pszLang};
    for (const char* pszLocale : locales)
    {
        if (pszLocale && pszLocale[0])
            return NamesUtf8(pszLocale) ? CODE_PAGE_UTF8 : 0;
    }
    return 0;
}

#include <gtest/gtest.h>
#include "TerminalEncoding.h"

TEST(TerminalEncoding, ConsoleFirstThenTheFirstLocaleVariableSet)
{
    struct Case
    {
        unsigned nConsole;
        const char *pszLcAll, *pszLcCtype, *pszLang;
        unsigned nExpected;
    };
    const Case cases[] = {
        {437, NULL, NULL, "C.UTF-8", 437}, // Wine's console decodes in its own code page
        {65001, NULL, NULL, NULL, 65001},
        {0, NULL, NULL, "en_US.UTF-8", CODE_PAGE_UTF8},
        {0, NULL, "C.utf8", NULL, CODE_PAGE_UTF8},
        {0, "de_DE.UTF-8@euro", NULL, "C", CODE_PAGE_UTF8},
        {0, "C", NULL, "en_US.UTF-8", 0},           // LC_ALL wins
        {0, "", "", "en_US.UTF-8", CODE_PAGE_UTF8}, // empty means unset
        {0, NULL, NULL, "en_US.ISO-8859-1", 0},
        {0, NULL, NULL, "en_US.UTF-88", 0},
        {0, NULL, NULL, "UTF-8", 0}, // no code set without the dot
        {0, NULL, NULL, NULL, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nExpected,
                  ChooseOutputCodePage(c.nConsole, c.pszLcAll, c.pszLcCtype, c.pszLang))
            << c.nConsole << " " << (c.pszLcAll ? c.pszLcAll : "-") << " "
            << (c.pszLang ? c.pszLang : "-");
}

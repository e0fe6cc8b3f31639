// Which encoding the phone tool prints the server's names in. Plain C++.
#pragma once

const unsigned CODE_PAGE_UTF8 = 65001;

// A console shows text in its own code page (nConsoleCodePage, 0 when the output
// is no console). Output to a pipe or a file, as from Wine to a Unix terminal or
// on Windows to a terminal such as mintty, is read in the encoding of the locale:
// UTF-8 when the first of LC_ALL, LC_CTYPE and LANG that is set names it. Else 0:
// the server's bytes go out as they came, in the PC's ANSI code page.
unsigned ChooseOutputCodePage(unsigned nConsoleCodePage, const char* pszLcAll,
                              const char* pszLcCtype, const char* pszLang);

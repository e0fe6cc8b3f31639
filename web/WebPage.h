// The page's files, built into the exe as RCDATA resources (web/page/), and
// the icons of the app a phone makes of it.
#pragma once
#include <stddef.h>
#include <string>

struct WebPageFile
{
    const char* pData;
    size_t nSize;
    const char* pszType;
};

// The file for a request path ("/" is the page itself); false when there is none.
bool FindWebPageFile(const std::string& path, WebPageFile* pFile);

#include "NameText.h"
#include <windows.h>
#include <shellapi.h>
#include <stdlib.h>
#include "TerminalEncoding.h"

unsigned TerminalCodePage()
{
    DWORD nMode = 0;
    bool bConsole = GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &nMode) != FALSE;
    unsigned nCodePage = ChooseOutputCodePage(bConsole ? GetConsoleOutputCP() : 0, getenv("LC_ALL"),
                                              getenv("LC_CTYPE"), getenv("LANG"));
    return nCodePage == GetACP() ? 0 : nCodePage;
}

static std::wstring Wide(const std::string& text, UINT nCodePage)
{
    int nLength = static_cast<int>(text.size());
    std::wstring wide(nLength, L'\0');
    if (nLength > 0)
        wide.resize(MultiByteToWideChar(nCodePage, 0, text.data(), nLength, &wide[0], nLength));
    return wide;
}

// With pbLost, exact: it tells whether a character could not be held. Without,
// a character may also become a similar one ("e" for "é" in ASCII).
static std::string Narrow(const std::wstring& wide, UINT nCodePage, bool* pbLost)
{
    // UTF-8 holds every character, and the call refuses the flag for it.
    bool bUtf8 = nCodePage == CP_UTF8 || (nCodePage == CP_ACP && GetACP() == CP_UTF8);
    BOOL bLost = FALSE;
    BOOL* pbFlag = pbLost && !bUtf8 ? &bLost : NULL;
    DWORD nFlags = pbFlag ? WC_NO_BEST_FIT_CHARS : 0;
    int nLength = static_cast<int>(wide.size());
    std::string text;
    if (nLength > 0)
    {
        int nSize =
            WideCharToMultiByte(nCodePage, nFlags, wide.data(), nLength, NULL, 0, NULL, pbFlag);
        text.resize(nSize);
        WideCharToMultiByte(nCodePage, nFlags, wide.data(), nLength, &text[0], nSize, NULL, pbFlag);
    }
    if (pbLost)
        *pbLost = bLost != FALSE;
    return text;
}

std::string AnsiForTerminal(const std::string& text, unsigned nCodePage)
{
    if (nCodePage == 0)
        return text;
    return Narrow(Wide(text, CP_ACP), nCodePage, NULL);
}

bool AnsiArguments(std::vector<std::string>& args, std::string& refused)
{
    // The wide command line: the narrow one has already turned what the code page
    // cannot hold into '?', and such a name would name another file.
    int nCount = 0;
    LPWSTR* pArgs = CommandLineToArgvW(GetCommandLineW(), &nCount);
    args.clear();
    if (!pArgs)
        return true; // out of memory: no arguments, and the usage says what to give
    bool bAllHeld = true;
    for (int i = 1; i < nCount && bAllHeld; i++)
    {
        bool bLost = false;
        args.push_back(Narrow(pArgs[i], CP_ACP, &bLost));
        if (bLost)
        {
            refused = args.back();
            bAllHeld = false;
        }
    }
    LocalFree(pArgs);
    return bAllHeld;
}

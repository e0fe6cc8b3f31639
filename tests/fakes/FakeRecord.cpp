#include "FakeRecord.h"
#include <stdio.h>
#include <stdlib.h>
#include <map>

static std::string g_folder;
static std::map<std::string, std::string> g_config;

void LoadFakeConfig(const char* pszConfigName)
{
    char szExe[MAX_PATH];
    DWORD nLength = GetModuleFileNameA(NULL, szExe, sizeof(szExe));
    g_folder = std::string(szExe, nLength);
    g_folder.erase(g_folder.find_last_of('\\'));

    FILE* pFile = fopen((g_folder + "\\" + pszConfigName).c_str(), "rb");
    if (!pFile)
        return;
    char szLine[1024];
    while (fgets(szLine, sizeof(szLine), pFile))
    {
        std::string line = szLine;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        size_t nEquals = line.find('=');
        if (nEquals != std::string::npos)
            g_config[line.substr(0, nEquals)] = line.substr(nEquals + 1);
    }
    fclose(pFile);
}

std::string FakeSetting(const char* pszKey, const char* pszDefault)
{
    std::map<std::string, std::string>::const_iterator it = g_config.find(pszKey);
    return it == g_config.end() ? pszDefault : it->second;
}

long FakeNumber(const char* pszKey, long nDefault)
{
    std::string value = FakeSetting(pszKey, "");
    return value.empty() ? nDefault : strtol(value.c_str(), NULL, 0);
}

const std::string& FakeFolder()
{
    return g_folder;
}

void RecordLine(const std::string& line)
{
    if (FakeNumber("record", 1) == 0)
        return;
    // A test that deletes the record holds it for a moment: the line waits.
    std::string path = g_folder + "\\messages.log";
    FILE* pFile = fopen(path.c_str(), "ab");
    for (int nTry = 0; !pFile && nTry < 2000; nTry++)
    {
        Sleep(1);
        pFile = fopen(path.c_str(), "ab");
    }
    if (!pFile)
        return;
    fprintf(pFile, "%s\n", line.c_str());
    fclose(pFile);
}

void RecordStart()
{
    RecordLine(std::string("start ") + GetCommandLineA());
}

static const char* MessageName(UINT nMsg)
{
    switch (nMsg)
    {
    case WM_KEYDOWN:
        return "WM_KEYDOWN";
    case WM_KEYUP:
        return "WM_KEYUP";
    case WM_CHAR:
        return "WM_CHAR";
    case WM_SYSKEYDOWN:
        return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP:
        return "WM_SYSKEYUP";
    case WM_MOUSEMOVE:
        return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN:
        return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP:
        return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK:
        return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN:
        return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP:
        return "WM_RBUTTONUP";
    case WM_COMMAND:
        return "WM_COMMAND";
    case WM_GETTEXT:
        return "WM_GETTEXT";
    case WM_APPCOMMAND:
        return "WM_APPCOMMAND";
    }
    return NULL;
}

static bool IsRecorded(UINT nMsg)
{
    return (nMsg >= WM_KEYFIRST && nMsg <= WM_KEYLAST) ||
           (nMsg >= WM_MOUSEFIRST && nMsg <= WM_MOUSELAST) || nMsg == WM_COMMAND ||
           nMsg == WM_GETTEXT || nMsg == WM_APPCOMMAND || (nMsg >= WM_USER && nMsg < WM_APP);
}

void RecordMessage(const char* pszWindow, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (!IsRecorded(nMsg))
        return;
    char szName[16];
    const char* pszName = MessageName(nMsg);
    if (!pszName)
    {
        snprintf(szName, sizeof(szName), "0x%04X", nMsg);
        pszName = szName;
    }
    char szLine[128];
    int nUsed = snprintf(szLine, sizeof(szLine), "%s %s 0x%llX", pszWindow, pszName,
                         static_cast<unsigned long long>(wParam));
    // WM_GETTEXT's lParam is the caller's buffer: an address, different every time.
    if (nMsg != WM_GETTEXT && nUsed > 0 && static_cast<size_t>(nUsed) < sizeof(szLine))
        snprintf(szLine + nUsed, sizeof(szLine) - nUsed, " 0x%llX",
                 static_cast<unsigned long long>(lParam));
    RecordLine(szLine);
}

int RunMessageLoop()
{
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

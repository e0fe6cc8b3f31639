// A fake Winamp 2 for the tests: a window of class "Winamp v1.x" (or "STUDIO")
// that answers Winamp's queries from a state read at start-up and records, in
// order, every message it receives.
//
// It reads FakeWinamp2.cfg (key=value lines) from its own folder, since the
// server starts it with no command line, and appends each message it receives
// as one line to messages.log in the same folder.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <map>
#include <string>

static std::string g_folder;
static std::map<std::string, std::string> g_config;
static int g_nUnknownLengthRounds = 0;

static std::string Setting(const char* pszKey, const char* pszDefault)
{
    std::map<std::string, std::string>::const_iterator it = g_config.find(pszKey);
    return it == g_config.end() ? pszDefault : it->second;
}

static long Number(const char* pszKey, long nDefault)
{
    std::string value = Setting(pszKey, "");
    return value.empty() ? nDefault : strtol(value.c_str(), NULL, 0);
}

static void ReadConfig()
{
    FILE* pFile = fopen((g_folder + "\\FakeWinamp2.cfg").c_str(), "rb");
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

static void Record(const std::string& line)
{
    if (Number("record", 1) == 0)
        return;
    FILE* pFile = fopen((g_folder + "\\messages.log").c_str(), "ab");
    if (!pFile)
        return;
    fprintf(pFile, "%s\n", line.c_str());
    fclose(pFile);
}

static void WritePlaylistFile()
{
    std::string source = Setting("m3u_source", "");
    if (!source.empty())
        CopyFileA(source.c_str(), (g_folder + "\\Winamp.m3u").c_str(), FALSE);
}

static LRESULT AnswerUser(WPARAM wParam, LPARAM lParam)
{
    int nData = static_cast<int>(wParam);
    switch (lParam)
    {
    case 0:
        return Number("version", 0x2095);
    case 104:
        return Number("state", 0);
    case 105:
        if (nData == 0)
            return Number("position_ms", 0);
        if (g_nUnknownLengthRounds > 0)
        {
            g_nUnknownLengthRounds--;
            return -1;
        }
        return Number("length", -1);
    case 120:
        WritePlaylistFile();
        return Number("playlist_index", 0);
    case 124:
        return Number("list_length", 0);
    case 126:
        return nData == 0   ? Number("sample_rate", 0)
               : nData == 1 ? Number("bit_rate", 0)
                            : Number("channels", 0);
    case 250:
        return Number("shuffle", 0);
    case 251:
        return Number("repeat", 0);
    }
    return 0;
}

static LRESULT CALLBACK FakeWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    char szLine[1400];
    switch (nMsg)
    {
    case WM_USER:
        snprintf(szLine, sizeof(szLine), "WM_USER %d %d", static_cast<int>(wParam),
                 static_cast<int>(lParam));
        Record(szLine);
        return AnswerUser(wParam, lParam);
    case WM_COMMAND:
        snprintf(szLine, sizeof(szLine), "WM_COMMAND %d %d", static_cast<int>(wParam),
                 static_cast<int>(lParam));
        Record(szLine);
        return 0;
    case WM_COPYDATA:
    {
        const COPYDATASTRUCT* pData = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        std::string text(static_cast<const char*>(pData->lpData), pData->cbData);
        snprintf(szLine, sizeof(szLine), "WM_COPYDATA %d %d %s", static_cast<int>(pData->dwData),
                 static_cast<int>(pData->cbData), text.c_str());
        Record(szLine);
        return TRUE;
    }
    case WM_GETTEXT:
        snprintf(szLine, sizeof(szLine), "WM_GETTEXT %d", static_cast<int>(wParam));
        Record(szLine);
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    char szExe[MAX_PATH];
    DWORD nLength = GetModuleFileNameA(NULL, szExe, sizeof(szExe));
    g_folder = std::string(szExe, nLength);
    g_folder.erase(g_folder.find_last_of('\\'));
    ReadConfig();
    g_nUnknownLengthRounds = static_cast<int>(Number("unknown_length_rounds", 0));
    // A slow start: no window and no message loop yet, so WaitForInputIdle waits.
    Sleep(static_cast<DWORD>(Number("start_delay_ms", 0)));

    std::string windowClass = Setting("class", "Winamp v1.x");
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FakeWindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = windowClass.c_str();
    RegisterClassA(&wc);
    HWND hWnd = CreateWindowA(windowClass.c_str(), Setting("caption", "Winamp 2.95").c_str(),
                              WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, NULL, NULL, hInstance, NULL);
    if (!hWnd)
        return 1;
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

// A machine without a usable Windows Sockets 1.1: the server, copied under a name
// of its own beside a stand-in ws2_32.dll that Wine is told to prefer for that
// name only, shows only its message box.
#include <gtest/gtest.h>
#include "ServerProcess.h"

struct StaticTexts
{
    std::string texts;
    int nButtons;
};

static BOOL CALLBACK CollectTexts(HWND hWnd, LPARAM lParam)
{
    StaticTexts* pFound = reinterpret_cast<StaticTexts*>(lParam);
    char szClass[32] = "";
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (!IsWindowVisible(hWnd))
        return TRUE;
    if (lstrcmpiA(szClass, "Button") == 0)
        pFound->nButtons++;
    else if (lstrcmpiA(szClass, "Static") == 0)
        pFound->texts += WindowText(hWnd);
    return TRUE;
}

static const char* const COPY_NAME = "QuorvelServerNoSockets.exe";
static const char* const OVERRIDES_KEY =
    "Software\\Wine\\AppDefaults\\QuorvelServerNoSockets.exe\\DllOverrides";

class StartWithoutSockets : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HKEY hKey = NULL;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, OVERRIDES_KEY, 0, NULL, 0,
                                                 KEY_WRITE, NULL, &hKey, NULL));
        const char szNative[] = "native";
        RegSetValueExA(hKey, "ws2_32", 0, REG_SZ, reinterpret_cast<const BYTE*>(szNative),
                       sizeof(szNative));
        RegCloseKey(hKey);
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, OVERRIDES_KEY); }
};

TEST_F(StartWithoutSockets, OnlyTheMessageBoxIsShown)
{
    const char* const modes[] = {"fail", "version"};
    const char* const expectedCalls[] = {"WSAStartup 1.1\n", "WSAStartup 1.1\nWSACleanup\n"};
    for (int i = 0; i < 2; i++)
    {
        SCOPED_TRACE(modes[i]);
        CTempDir dir;
        ASSERT_TRUE(CopyFileA((TestBinDir() + "\\QuorvelServer.exe").c_str(),
                              dir.File(COPY_NAME).c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((TestBinDir() + "\\fake-winsock\\ws2_32.dll").c_str(),
                              dir.File("ws2_32.dll").c_str(), FALSE));
        CServerProcess server;
        ASSERT_TRUE(server.Launch(dir.Path(), dir.File(COPY_NAME),
                                  {std::string("QUORVEL_FAKE_WINSOCK=") + modes[i]}));

        HWND hBox = server.WaitForDialog("QuorvelServer", true);
        ASSERT_TRUE(hBox) << "no message box";
        StaticTexts found = {"", 0};
        EnumChildWindows(hBox, CollectTexts, reinterpret_cast<LPARAM>(&found));
        EXPECT_EQ("Windows sockets initialization failed.", found.texts);
        EXPECT_EQ(1, found.nButtons);
        EXPECT_EQ("OK", DialogItemText(hBox, IDOK));
        EXPECT_FALSE(server.WaitForDialog("Quorvel", false, 0)) << "the main window was made";

        PressButton(hBox, IDOK);
        DWORD nExitCode = 1;
        ASSERT_TRUE(server.WaitForExit(WAIT_LIMIT_MS, &nExitCode));
        EXPECT_FALSE(dir.Exists("QuorvelServer.ini"));
        EXPECT_EQ(expectedCalls[i], dir.ReadFile("winsock-calls.txt"));
    }
}

// What the build makes for Windows users: the unpacked portable zip, and the setup
// program installed silently into this prefix, run from its shortcut and uninstalled.
#include "ServerTest.h"
#include <shlobj.h>
#include <stdio.h>
#include <set>

static const DWORD SETUP_TIMEOUT_MS = 120000;
static const int IDC_LISTEN_ON_SOCKET = 1034;
static const char PRODUCT[] = "Quorvel Server";
static const char UNINSTALL_KEY[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvel Server";

static std::string DistPath(const std::string& name)
{
    std::string path = TestBinDir() + "\\..\\dist\\" + name;
    char szFull[MAX_PATH];
    DWORD nLength = GetFullPathNameA(path.c_str(), sizeof(szFull), szFull, NULL);
    return nLength > 0 && nLength < sizeof(szFull) ? std::string(szFull, nLength) : path;
}

static std::string ShellFolder(int nFolder)
{
    char szPath[MAX_PATH] = "";
    SHGetFolderPathA(NULL, nFolder, NULL, SHGFP_TYPE_CURRENT, szPath);
    return szPath;
}

static bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

static std::set<std::string> FilesIn(const std::string& dir)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do
    {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(found.cFileName);
    } while (FindNextFileA(hFind, &found));
    FindClose(hFind);
    return names;
}

// Runs a command line to its end; true when it exits with 0.
static bool RunToEnd(const std::string& commandLine)
{
    std::string buffer = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(NULL, &buffer[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return false;
    DWORD nExitCode = 1;
    if (WaitForSingleObject(process.hProcess, SETUP_TIMEOUT_MS) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &nExitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return nExitCode == 0;
}

static std::string UninstallValue(const char* pszName)
{
    char szValue[1024] = "";
    DWORD nSize = sizeof(szValue);
    if (RegGetValueA(HKEY_CURRENT_USER, UNINSTALL_KEY, pszName, RRF_RT_REG_SZ, NULL, szValue,
                     &nSize) != ERROR_SUCCESS)
        return std::string();
    return szValue;
}

static bool UninstallEntryExists()
{
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, UNINSTALL_KEY, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

// The uninstaller goes on in a copy of itself after the started one ends; removing
// the entry is the last thing it does.
static bool WaitForUninstallEntryGone()
{
    DWORD nStart = GetTickCount();
    while (UninstallEntryExists())
    {
        if (GetTickCount() - nStart > SETUP_TIMEOUT_MS)
            return false;
        Sleep(100);
    }
    return true;
}

class CComScope
{
public:
    CComScope() { CoInitialize(NULL); }
    ~CComScope() { CoUninitialize(); }
};

// A .lnk file read back through the shell's link object.
class CShortcut
{
public:
    CShortcut() : m_pLink(NULL)
    {
        CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                         reinterpret_cast<void**>(&m_pLink));
    }
    ~CShortcut()
    {
        if (m_pLink)
            m_pLink->Release();
    }
    bool Load(const std::string& path)
    {
        IPersistFile* pFile = NULL;
        if (!m_pLink ||
            FAILED(m_pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile))))
            return false;
        wchar_t szPath[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, szPath, MAX_PATH);
        HRESULT hr = pFile->Load(szPath, STGM_READ);
        pFile->Release();
        return SUCCEEDED(hr);
    }
    std::string Target() const
    {
        char szPath[MAX_PATH] = "";
        m_pLink->GetPath(szPath, sizeof(szPath), NULL, SLGP_RAWPATH);
        return szPath;
    }
    std::string WorkingDirectory() const
    {
        char szPath[MAX_PATH] = "";
        m_pLink->GetWorkingDirectory(szPath, sizeof(szPath));
        return szPath;
    }

private:
    CShortcut(const CShortcut&);
    CShortcut& operator=(const CShortcut&);
    IShellLinkA* m_pLink;
};

// File and product version 1.72 and the product name, as Explorer shows them.
static void ExpectVersionResource(const std::string& exe)
{
    DWORD nSize = GetFileVersionInfoSizeA(exe.c_str(), NULL);
    std::string data(nSize, '\0');
    ASSERT_TRUE(nSize > 0 && GetFileVersionInfoA(exe.c_str(), 0, nSize, &data[0])) << exe;
    VS_FIXEDFILEINFO* pFixed = NULL;
    char* pszName = NULL;
    UINT nLength = 0;
    ASSERT_TRUE(VerQueryValueA(&data[0], "\\", reinterpret_cast<void**>(&pFixed), &nLength));
    ASSERT_TRUE(VerQueryValueA(&data[0], "\\StringFileInfo\\040904E4\\ProductName",
                               reinterpret_cast<void**>(&pszName), &nLength));
    char szFile[32], szProduct[32];
    snprintf(szFile, sizeof(szFile), "%u.%u", HIWORD(pFixed->dwFileVersionMS),
             LOWORD(pFixed->dwFileVersionMS));
    snprintf(szProduct, sizeof(szProduct), "%u.%u", HIWORD(pFixed->dwProductVersionMS),
             LOWORD(pFixed->dwProductVersionMS));
    EXPECT_EQ(QUORVEL_VERSION, std::string(szFile));
    EXPECT_EQ(QUORVEL_VERSION, std::string(szProduct));
    EXPECT_EQ(PRODUCT, std::string(pszName));
}

static void ExpectCheckAnswered(const std::string& exe, const std::string& workDir,
                                bool bTickListen = false)
{
    CServerProcess server;
    ASSERT_TRUE(server.Start(workDir, exe)) << exe << " in " << workDir;
    CPhoneClient phone;
    if (bTickListen)
    {
        EXPECT_FALSE(phone.ConnectTcp("127.0.0.1", SERVER_PORT, 300)) << "listening unticked";
        server.Click(IDC_LISTEN_ON_SOCKET);
    }
    ASSERT_TRUE(phone.ConnectTcp("127.0.0.1", SERVER_PORT, REPLY_TIMEOUT_MS));
    ASSERT_TRUE(phone.Send("CHCK"));
    ExpectReply(phone, "Y");
}

TEST(PortableZip, HoldsTheServerWithSettingsThatKeepTcpOff)
{
    std::string dir = DistPath("portable");
    std::set<std::string> expected = {"QuorvelServer.exe", "QuorvelServer.ini", "README.txt"};
    EXPECT_EQ(expected, FilesIn(dir));
    std::string settings;
    ASSERT_TRUE(ReadBinaryFile(dir + "\\QuorvelServer.ini", settings));
    EXPECT_NE(std::string::npos, settings.find("\r\nListenOnSocket=0\r\n")) << settings;
    ExpectVersionResource(dir + "\\QuorvelServer.exe");
    ExpectCheckAnswered(dir + "\\QuorvelServer.exe", dir, true);
}

TEST(Setup, InstallsForTheUserRunsFromItsShortcutAndUninstallsKeepingTheSettings)
{
    CComScope com;
    const std::string programDir = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\" + PRODUCT;
    const std::string settingsDir = ShellFolder(CSIDL_APPDATA) + "\\" + PRODUCT;
    const std::string exe = programDir + "\\QuorvelServer.exe";
    const std::string uninstaller = programDir + "\\Uninstall.exe";
    const std::string menuLink = ShellFolder(CSIDL_PROGRAMS) + "\\Quorvel Server.lnk";
    const std::string logOnLink = ShellFolder(CSIDL_STARTUP) + "\\Quorvel Server.lnk";
    const std::string setup = DistPath("QuorvelServer-" QUORVEL_VERSION "-setup.exe");
    RemoveTree(settingsDir);
    // Its manifest, stored as it is, tells Windows to ask for no administrator rights.
    std::string setupBytes;
    ASSERT_TRUE(ReadBinaryFile(setup, setupBytes));
    EXPECT_NE(std::string::npos, setupBytes.find("requestedExecutionLevel level=\"asInvoker\""));

    ASSERT_TRUE(RunToEnd("\"" + setup + "\" /S /AUTOSTART"));
    EXPECT_TRUE(Exists(exe));
    EXPECT_TRUE(Exists(uninstaller));
    EXPECT_TRUE(Exists(settingsDir)) << "the installer makes the settings folder";
    ExpectVersionResource(exe);
    EXPECT_EQ(PRODUCT, UninstallValue("DisplayName"));
    EXPECT_EQ(QUORVEL_VERSION, UninstallValue("DisplayVersion"));
    EXPECT_EQ("\"" + uninstaller + "\"", UninstallValue("UninstallString"));
    EXPECT_EQ("\"" + uninstaller + "\" /S", UninstallValue("QuietUninstallString"));
    CShortcut menu, logOn;
    ASSERT_TRUE(menu.Load(menuLink));
    ASSERT_TRUE(logOn.Load(logOnLink));
    EXPECT_EQ(exe, menu.Target());
    EXPECT_EQ(settingsDir, menu.WorkingDirectory());
    EXPECT_EQ(exe, logOn.Target());
    EXPECT_EQ(settingsDir, logOn.WorkingDirectory());

    // Setting up again over it, silently, keeps the choice to start at log-on.
    ASSERT_TRUE(RunToEnd("\"" + setup + "\" /S"));
    EXPECT_TRUE(Exists(logOnLink));

    const std::string settings = "[QuorvelServer]\r\nListenOnSocket=1\r\n";
    WriteBinaryFile(settingsDir + "\\QuorvelServer.ini", settings);
    ExpectCheckAnswered(menu.Target(), menu.WorkingDirectory());

    ASSERT_TRUE(RunToEnd(UninstallValue("QuietUninstallString")));
    ASSERT_TRUE(WaitForUninstallEntryGone());
    EXPECT_FALSE(Exists(programDir));
    EXPECT_FALSE(Exists(menuLink));
    EXPECT_FALSE(Exists(logOnLink));
    std::string kept;
    EXPECT_TRUE(ReadBinaryFile(settingsDir + "\\QuorvelServer.ini", kept));
    EXPECT_EQ(settings, kept);
    RemoveTree(settingsDir);
}

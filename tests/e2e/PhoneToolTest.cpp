// The phone tool against the real server, as a user runs it: what it prints,
// its exit code, and that a bad argument never reaches the server.
#include "PhoneArguments.h"
#include "ServerTest.h"

struct ToolRun
{
    DWORD nExitCode;
    std::string out;
    std::string err;
};

// Runs quorvel-phone.exe with its output in files of outputDir (pipes would need a
// reader), as from a UTF-8 terminal: the arguments are UTF-8, and so is the locale.
static ToolRun RunPhoneTool(const CTempDir& outputDir, const std::string& arguments)
{
    SetEnvironmentVariableA("LC_ALL", "C.UTF-8");
    ToolRun run = {999, "", ""};
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), NULL, TRUE};
    HANDLE hOut = CreateFileA(outputDir.File("tool.out").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                              &inherited, CREATE_ALWAYS, 0, NULL);
    HANDLE hErr = CreateFileA(outputDir.File("tool.err").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                              &inherited, CREATE_ALWAYS, 0, NULL);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = hOut;
    startup.hStdError = hErr;
    std::string command = "\"" + TestBinDir() + "\\quorvel-phone.exe\" " + arguments;
    std::wstring wide(command.size() + 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, command.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(NULL, &wide[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process))
    {
        if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &run.nExitCode);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(hOut);
    CloseHandle(hErr);
    run.out = outputDir.ReadFile("tool.out");
    run.err = outputDir.ReadFile("tool.err");
    return run;
}

// The tree as the tool must print it, from the file system in the order it gives here.
static void AppendTree(const std::string& folder, int nDepth, std::string& tree, int& nRecords)
{
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFind) << folder;
    do
    {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        bool bFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        tree += std::string(2 * nDepth, ' ') + name + (bFolder ? "\\\n" : "\n");
        nRecords++;
        if (bFolder)
            AppendTree(folder + "\\" + name, nDepth + 1, tree, nRecords);
    } while (FindNextFileA(hFind, &found));
    FindClose(hFind);
}

class PhoneTool : public CServerTest
{
protected:
    CTempDir m_output;
};

TEST_F(PhoneTool, ListPrintsEachNameUnderItsParent)
{
    // Several folders end together before later entries, at more than one depth.
    const char* const folders[] = {
        "Music",        "Music\\Artist", "Music\\Artist\\Album", "Music\\Artist\\Album\\Disc",
        "Music\\Empty", "Music\\Zed"};
    for (const char* pszFolder : folders)
        CreateDirectoryA(m_dir.File(pszFolder).c_str(), NULL);
    m_dir.WriteFile("Music\\Artist\\Album\\Disc\\deep.mp3", "1");
    m_dir.WriteFile("Music\\Artist\\single.mp3", "2");
    m_dir.WriteFile("Music\\Zed\\z.mp3", "3");
    m_dir.WriteFile("Music\\top.mp3", "4");
    std::string music = m_dir.File("Music");
    StartServer("ListenOnSocket=1\r\nPath=" + music + "\r\n");

    std::string tree = music + "\\\n";
    int nRecords = 1;
    AppendTree(music, 1, tree, nRecords);
    ToolRun run = RunPhoneTool(m_output, "LIST");
    EXPECT_EQ(0u, run.nExitCode) << run.err;
    EXPECT_EQ("LISTACK\n" + tree + "end of listing, " + std::to_string(nRecords) + " records\n",
              run.out);
    EXPECT_EQ("", run.err);

    run = RunPhoneTool(m_output, "--raw LIST");
    EXPECT_EQ(0u, run.nExitCode) << run.err;
    EXPECT_EQ(0u, run.out.find("LISTACK\n01 " + music + "\n")) << run.out;
    EXPECT_EQ(nRecords + 2, CountOccurrences(run.out, "\n"));
    EXPECT_EQ("\nFF 00\n", run.out.substr(run.out.size() - 7));
}

TEST_F(PhoneTool, BadArgumentsNoServerAndNoReplyEachGiveOneLine)
{
    ToolRun run = RunPhoneTool(m_output, "VERS");
    EXPECT_EQ(3u, run.nExitCode);
    EXPECT_EQ("quorvel-phone: no server is listening on 127.0.0.1:7654; tick \"Listen on Internet "
              "socket\" in the server's window, or start one with tools/run-server.sh\n",
              run.err);

    StartServer();
    run = RunPhoneTool(m_output, "VERS VOLM:300");
    EXPECT_EQ(2u, run.nExitCode);
    EXPECT_EQ("", run.out);
    EXPECT_EQ("quorvel-phone: bad parameter for VOLM: \"300\" (write VOLM:0..255); see --help\n",
              run.err);
    run = RunPhoneTool(m_output, "\"FINF:C:\\\xE6\x97\xA5.mp3\"");
    EXPECT_EQ(2u, run.nExitCode);
    EXPECT_EQ("quorvel-phone: \"FINF:C:\\?.mp3\" has a character that this PC's code page 1252 "
              "cannot hold (shown as ?), and the server takes names only in that code page\n",
              run.err);
    for (const char* pszBad : {"--tcp 127.0.0.1 VERS play", "VERS SHFL:2", "SEEK:-5", "REPT:5"})
    {
        run = RunPhoneTool(m_output, pszBad);
        EXPECT_EQ(2u, run.nExitCode) << pszBad;
        EXPECT_EQ("", run.out) << pszBad;
    }
    ConnectPhone(m_phone);
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe("Client connected on Internet socket\r\n"
                                        "Sent ACK to phone\r\n"))
        << "the bad arguments reached the server:\n"
        << m_server.LogAfterBanner();
    m_phone.Close();
    ASSERT_TRUE(m_server.WaitForLog("Client has closed connection\r\n"));

    std::string missing = m_dir.File("missing.mp3");
    run = RunPhoneTool(m_output, "\"FINF:" + missing + "\" VERS");
    EXPECT_EQ(4u, run.nExitCode);
    EXPECT_EQ("", run.out);
    EXPECT_EQ("quorvel-phone: no reply to FINF within 5 s: the server answers nothing when it "
              "cannot open the file or refuses the name; its event log says why\n",
              run.err);
    EXPECT_TRUE(
        m_server.WaitForLog("Returning info about \"" + missing + "\": couldn't open file\r\n"));

    run = RunPhoneTool(m_output, "--help");
    EXPECT_EQ(0u, run.nExitCode);
    EXPECT_EQ(PhoneUsage(), run.out);
}

TEST_F(PhoneTool, AccentedNamesPrintAsUtf8AndGoBackAsTheServersBytes)
{
    // "Café" and "Thé.mp3" as the server sees them: in the PC's code page, 1252.
    std::string music = m_dir.File("Music");
    CreateDirectoryA(music.c_str(), NULL);
    CreateDirectoryA((music + "\\Caf\xE9").c_str(), NULL);
    m_dir.WriteFile("Music\\Caf\xE9\\Th\xE9.mp3", "12345");
    StartServer("ListenOnSocket=1\r\nPath=" + music + "\r\n");

    ToolRun run = RunPhoneTool(m_output, "DLST:");
    EXPECT_EQ("LISTACK\n" + music + "\\\n  Caf\xC3\xA9\\\nend of listing, 2 records\n", run.out);
    // Pasted back from the terminal.
    std::string cafe = music + "\\Caf\xC3\xA9";
    run = RunPhoneTool(m_output, "\"DLST:" + cafe + "\" \"FINF:" + cafe + "\\Th\xC3\xA9.mp3\"");
    EXPECT_EQ(0u, run.nExitCode) << run.err;
    EXPECT_EQ("LISTACK\n" + cafe + "\\\n  Th\xC3\xA9.mp3\nend of listing, 2 records\n" +
                  "FINFACK length 5 bytes\n",
              run.out);
    run = RunPhoneTool(m_output, "--raw \"DLST:" + cafe + "\"");
    EXPECT_NE(std::string::npos, run.out.find("\n22 Th\xE9.mp3\n")) << run.out;
}

TEST_F(PhoneTool, HintsForNoFoldersToBrowseAndASerialPortNotConnected)
{
    StartServer();
    ToolRun run = RunPhoneTool(m_output, "DLST:");
    EXPECT_EQ(0u, run.nExitCode);
    EXPECT_EQ("LISTACK\nend of listing, 0 records\n", run.out);
    EXPECT_EQ("quorvel-phone: nothing to list: set \"Files to browse:\" in the server's window, or "
              "Path= in its QuorvelServer.ini\n",
              run.err);
    run = RunPhoneTool(m_output, "--com COM13 --wait 1 CHCK");
    EXPECT_EQ(4u, run.nExitCode);
    EXPECT_EQ("quorvel-phone: no reply to CHCK within 1 s on COM13: the server reads its serial "
              "port only once it is open: type the server's end of the link into \"COM port:\" "
              "in its window and press Connect (with tools/run-server.sh: COM3 for COM13, "
              "COM12 for COM22)\n",
              run.err);
    // The CHCK waits at the server's end of the link: take it, or a later test gets it.
    CPhoneClient serverEnd;
    ASSERT_TRUE(serverEnd.OpenComPort("COM3"));
    EXPECT_EQ("CHCK", serverEnd.ReceiveUntilQuiet(500, WAIT_LIMIT_MS));
}

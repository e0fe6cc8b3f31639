// quorvel-phone: try the server without a phone. Checks every argument before
// it connects, sends the commands in turn and prints each reply decoded;
// --help lists the commands.
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>
#include "NameText.h"
#include "PhoneArguments.h"
#include "PhoneClient.h"
#include "ReplyPrinter.h"
#include "ReplyText.h"

static const DWORD CONNECT_TIMEOUT_MS = 3000;

// The host as a dotted address; false for a name that does not resolve.
static bool ResolveHost(const std::string& host, std::string& address)
{
    WSADATA wsaData;
    if (WSAStartup(MAKEWORD(2, 2), &wsaData) != 0)
        return false;
    if (inet_addr(host.c_str()) != INADDR_NONE)
    {
        address = host;
        return true;
    }
    hostent* pHost = gethostbyname(host.c_str());
    if (!pHost || pHost->h_addrtype != AF_INET || !pHost->h_addr_list[0])
        return false;
    in_addr found;
    memcpy(&found, pHost->h_addr_list[0], sizeof(found));
    address = inet_ntoa(found);
    return true;
}

// Whether this copy runs from a checkout (<checkout>\build\bin\quorvel-phone.exe),
// where tools/run-server.sh starts a server and its serial links.
static bool RunsFromCheckout()
{
    char szPath[MAX_PATH];
    DWORD nLength = GetModuleFileNameA(NULL, szPath, sizeof(szPath));
    if (nLength == 0 || nLength >= sizeof(szPath))
        return false;
    std::string path(szPath, nLength);
    for (int i = 0; i < 3; i++)
    {
        size_t nSlash = path.find_last_of("\\/");
        if (nSlash == std::string::npos)
            return false;
        path.erase(nSlash);
    }
    return GetFileAttributesA((path + "\\tools\\run-server.sh").c_str()) != INVALID_FILE_ATTRIBUTES;
}

static int Connect(CPhoneClient& phone, const PhoneArguments& arguments)
{
    if (arguments.bSerial)
    {
        if (phone.OpenComPort(arguments.comPort.c_str()))
            return EXIT_DONE;
        fprintf(stderr,
                "quorvel-phone: cannot open %s (error %lu); with tools/run-server.sh the phone's "
                "ends are COM13 and COM22\n",
                arguments.comPort.c_str(), GetLastError());
        return EXIT_NO_SERVER;
    }
    std::string address;
    if (!ResolveHost(arguments.host, address))
    {
        fprintf(stderr, "quorvel-phone: unknown host \"%s\"\n", arguments.host.c_str());
        return EXIT_BAD_ARGUMENTS;
    }
    if (phone.ConnectTcp(address.c_str(), arguments.nPort, CONNECT_TIMEOUT_MS))
        return EXIT_DONE;
    fprintf(stderr,
            "quorvel-phone: no server is listening on %s:%u; tick \"Listen on Internet socket\" "
            "in the server's window%s\n",
            arguments.host.c_str(), arguments.nPort,
            RunsFromCheckout() ? ", or start one with tools/run-server.sh" : "");
    return EXIT_NO_SERVER;
}

static void ReportFailure(ReplyOutcome outcome, const PhoneCommand& command,
                          const CReplyPrinter& printer, const CPhoneClient& phone,
                          const PhoneArguments& arguments)
{
    const char* pszName = command.pszName;
    if (outcome == OUTCOME_UNEXPECTED)
        fprintf(stderr, "quorvel-phone: unexpected reply to %s: %s\n", pszName,
                HexBytes(printer.UnexpectedBytes()).c_str());
    else if (outcome == OUTCOME_CUT_SHORT)
        fprintf(stderr, "quorvel-phone: the reply to %s stopped after %lu bytes%s\n", pszName,
                static_cast<unsigned long>(printer.BytesReceived()),
                phone.LinkClosed() ? ": the server closed the connection" : "");
    else if (phone.LinkClosed())
        fprintf(stderr, "quorvel-phone: the server closed the connection before answering %s\n",
                pszName);
    else if (command.Row().nParam == PARAM_NAME)
        fprintf(stderr,
                "quorvel-phone: no reply to %s within %lu s: the server answers nothing when it "
                "cannot open the file or refuses the name; its event log says why\n",
                pszName, printer.WaitMs() / 1000);
    else if (arguments.bSerial)
        fprintf(stderr,
                "quorvel-phone: no reply to %s within %lu s on %s: the server reads its serial "
                "port only once it is open: type the server's end of the link into \"COM "
                "port:\" in its window and press Connect%s\n",
                pszName, printer.WaitMs() / 1000, arguments.comPort.c_str(),
                RunsFromCheckout() ? " (with tools/run-server.sh: COM3 for COM13, COM12 for COM22)"
                                   : "");
    else
        fprintf(stderr,
                "quorvel-phone: no reply to %s within %lu s; the server serves one phone at a "
                "time (is another connected?) and its event log may say more\n",
                pszName, printer.WaitMs() / 1000);
}

int main()
{
    // Lines end in LF alone: the tool mostly runs under Wine, read by Unix tools.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> args;
    std::string refused;
    if (!AnsiArguments(args, refused))
    {
        fprintf(stderr,
                "quorvel-phone: \"%s\" has a character that this PC's code page %u cannot hold "
                "(shown as ?), and the server takes names only in that code page\n",
                AnsiForTerminal(refused, TerminalCodePage()).c_str(), GetACP());
        return EXIT_BAD_ARGUMENTS;
    }
    if (args.empty())
    {
        fputs(PhoneUsage().c_str(), stderr);
        return EXIT_BAD_ARGUMENTS;
    }
    PhoneArguments arguments;
    std::string error;
    if (!ParsePhoneArguments(args, arguments, error))
    {
        fprintf(stderr, "quorvel-phone: %s; see --help\n", error.c_str());
        return EXIT_BAD_ARGUMENTS;
    }
    if (arguments.bHelp)
    {
        fputs(PhoneUsage().c_str(), stdout);
        return EXIT_DONE;
    }
    CPhoneClient phone;
    int nConnected = Connect(phone, arguments);
    if (nConnected != EXIT_DONE)
        return nConnected;
    // A long listing goes out in large writes, not one per line.
    setvbuf(stdout, NULL, _IOFBF, 1 << 16);
    unsigned nCodePage = arguments.bRaw ? 0 : TerminalCodePage();
    CReplyPrinter printer(phone, nCodePage, arguments.bRaw, 1000 * arguments.nWaitSeconds);
    for (const PhoneRequest& request : arguments.requests)
    {
        const PhoneCommand& command = *request.pCommand;
        if (!phone.Send(request.bytes))
        {
            fflush(stdout);
            fprintf(stderr, "quorvel-phone: the link broke while sending %s\n", command.pszName);
            return EXIT_NO_REPLY;
        }
        ReplyOutcome outcome = printer.Print(command);
        if (outcome == OUTCOME_DONE)
            continue;
        fflush(stdout);
        ReportFailure(outcome, command, printer, phone, arguments);
        return EXIT_NO_REPLY;
    }
    fflush(stdout);
    return EXIT_DONE;
}

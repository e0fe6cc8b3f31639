#include "PhoneArguments.h"
#include <stdlib.h>

PhoneArguments::PhoneArguments()
    : bHelp(false), bSerial(false), host("127.0.0.1"), nPort(7654), bRaw(false), nWaitSeconds(0)
{
}

static bool IsDecimal(const std::string& text, size_t nMaxDigits)
{
    if (text.empty() || text.size() > nMaxDigits || text[0] == '0')
        return false;
    for (char c : text)
    {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

static bool ParseTcpTarget(const std::string& text, PhoneArguments& out, std::string& error)
{
    size_t nColon = text.find(':');
    out.host = text.substr(0, nColon);
    std::string port = nColon == std::string::npos ? "7654" : text.substr(nColon + 1);
    if (out.host.empty() || !IsDecimal(port, 5) || atol(port.c_str()) > 65535)
    {
        error = "bad --tcp \"" + text + "\" (write HOST or HOST:PORT, such as 127.0.0.1:7654)";
        return false;
    }
    out.nPort = static_cast<unsigned short>(atol(port.c_str()));
    return true;
}

static bool ParseComPort(const std::string& text, PhoneArguments& out, std::string& error)
{
    std::string prefix = text.substr(0, 3);
    for (char& c : prefix)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if (text.size() < 4 || prefix != "COM" || !IsDecimal(text.substr(3), 3))
    {
        error = "bad --com \"" + text + "\" (write COMn, such as COM13)";
        return false;
    }
    out.comPort = "COM" + text.substr(3);
    out.bSerial = true;
    return true;
}

static bool ParseWait(const std::string& text, PhoneArguments& out, std::string& error)
{
    if (!IsDecimal(text, 4) || atol(text.c_str()) > 3600)
    {
        error = "bad --wait \"" + text + "\" (write whole seconds, 1..3600)";
        return false;
    }
    out.nWaitSeconds = atoi(text.c_str());
    return true;
}

static bool ParseOption(const std::vector<std::string>& args, size_t& i, PhoneArguments& out,
                        bool& bLinkGiven, std::string& error)
{
    const std::string& option = args[i];
    if (option == "--raw")
    {
        out.bRaw = true;
        return true;
    }
    if (option != "--tcp" && option != "--com" && option != "--wait")
    {
        error = "unknown option " + option;
        return false;
    }
    if (i + 1 == args.size())
    {
        error = option + " needs a value";
        return false;
    }
    const std::string& value = args[++i];
    if (option == "--wait")
        return ParseWait(value, out, error);
    if (bLinkGiven)
    {
        error = "give one --tcp or one --com";
        return false;
    }
    bLinkGiven = true;
    return option == "--tcp" ? ParseTcpTarget(value, out, error) : ParseComPort(value, out, error);
}

bool ParsePhoneArguments(const std::vector<std::string>& args, PhoneArguments& out,
                         std::string& error)
{
    out = PhoneArguments();
    for (const std::string& arg : args)
    {
        if (arg == "--help" || arg == "-h")
        {
            out.bHelp = true;
            return true;
        }
    }
    bool bLinkGiven = false;
    for (size_t i = 0; i < args.size(); i++)
    {
        if (args[i].compare(0, 1, "-") == 0)
        {
            if (!ParseOption(args, i, out, bLinkGiven, error))
                return false;
            continue;
        }
        PhoneRequest request;
        if (!EncodePhoneCommand(args[i], request.bytes, error))
            return false;
        request.pCommand = FindPhoneCommand(request.bytes.substr(0, 4));
        out.requests.push_back(request);
    }
    if (out.requests.empty())
    {
        error = "no command given";
        return false;
    }
    return true;
}

std::string PhoneUsage()
{
    std::string text =
        "usage: tools/phone.sh [--raw] [--wait SECONDS] COMMAND[:PARAM]...\n"
        "       quorvel-phone.exe [--tcp HOST[:PORT] | --com COMn] [--raw] [--wait SECONDS]\n"
        "                         COMMAND[:PARAM]...\n"
        "Sends each command to Quorvel Server in turn and prints its reply decoded.\n"
        "phone.sh talks to the server that tools/run-server.sh started.\n"
        "\n"
        "  --tcp HOST[:PORT]  the server over TCP (default 127.0.0.1:7654)\n"
        "  --com COMn         the server over a serial port, as a Bluetooth phone\n"
        "  --raw              print the server's bytes as they came: a listing's records\n"
        "                     (head byte, name), names in the PC's code page\n"
        "  --wait SECONDS     how long a reply may take to start (default: the command's own)\n"
        "  --help             this text\n"
        "\n"
        "Commands (four capital letters; a parameter follows a colon):\n";
    for (size_t i = 0; PhoneCommandAt(i); i++)
    {
        const PhoneCommand* pCommand = PhoneCommandAt(i);
        std::string form = pCommand->pszForm;
        text += "  " + form + std::string(form.size() < 19 ? 19 - form.size() : 1, ' ') +
                pCommand->pszWhat + "\n";
    }
    text += "Paths are the server's own: under Wine, Z:\\ is the Linux root. Names print in the\n"
            "terminal's encoding and go to the server in the PC's code page.\n"
            "\n"
            "Example:\n"
            "  tools/phone.sh VERS VOLM:128 LIST \"FINF:Z:\\home\\me\\Music\\song.mp3\"\n"
            "\n"
            "Exit status: 0 done, 2 bad arguments (nothing was sent), 3 no server to talk to,\n"
            "4 no complete reply (the server answers nothing when it cannot open a file or\n"
            "refuses a name: its event log says why), 5 the server of tools/run-server.sh is\n"
            "not running (phone.sh).\n";
    return text;
}

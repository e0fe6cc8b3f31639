#include "WebClient.h"
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <set>
#include "web/ByteText.h"
#include "web/CngCrypto.h"
#include "web/PairingKey.h"

std::string CWebResponse::Header(const char* pszName) const
{
    std::string key = std::string("\r\n") + pszName + ": ";
    size_t nAt = head.find(key);
    if (nAt == std::string::npos)
        return std::string();
    nAt += key.size();
    return head.substr(nAt, head.find("\r\n", nAt) - nAt);
}

std::string UrlEncoded(const std::string& text)
{
    std::string encoded;
    for (unsigned char c : text)
    {
        char szEscape[4];
        snprintf(szEscape, sizeof(szEscape), "%%%02X", c);
        encoded +=
            isalnum(c) || strchr("-._~", c) ? std::string(1, static_cast<char>(c)) : szEscape;
    }
    return encoded;
}

std::string WebRequestBytes(const std::string& method, const std::string& target,
                            const std::string& form, const std::string& cookie)
{
    std::string request = method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1:7655\r\n";
    if (!cookie.empty())
        request += "Cookie: quorvel_token=" + cookie + "\r\n";
    if (method == "POST")
        request += "X-Quorvel-Page: 1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
                   "Content-Length: " +
                   std::to_string(form.size()) + "\r\n";
    return request + "\r\n" + (method == "POST" ? form : "");
}

bool ReadWebResponse(CPhoneClient& client, CWebResponse* pResponse)
{
    pResponse->nStatus = 0;
    pResponse->head.clear();
    pResponse->body.clear();
    std::string line;
    while (client.ReceiveThrough('\n', line, WAIT_LIMIT_MS))
    {
        pResponse->head += line;
        if (line != "\r\n")
            continue;
        bool bWhole = client.Receive(atoi(pResponse->Header("Content-Length").c_str()),
                                     pResponse->body, WAIT_LIMIT_MS);
        pResponse->nStatus = bWhole ? atoi(pResponse->head.substr(9, 3).c_str()) : 0;
        return bWhole;
    }
    return false;
}

CWebResponse WebCall(const std::string& method, const std::string& target, const std::string& form,
                     const std::string& cookie)
{
    return WebCallFrom("127.0.0.1", WebRequestBytes(method, target, form, cookie));
}

CWebResponse WebCallFrom(const char* pszAddress, const std::string& request)
{
    CWebResponse response = {0, "", ""};
    CPhoneClient client;
    if (client.ConnectTcp(pszAddress, WEB_PORT, WAIT_LIMIT_MS, pszAddress) && client.Send(request))
        ReadWebResponse(client, &response);
    return response;
}

std::string WithoutStatusQueries(const std::vector<std::string>& lines)
{
    static const std::set<std::string> queries = {
        "WM_USER 0 104", "WM_USER 1 105",  "WM_USER 0 105",   "WM_USER 0 250",
        "WM_USER 0 251", "WM_GETTEXT 256", "WM_USER -666 122"};
    std::string kept;
    for (const std::string& line : lines)
        kept += queries.count(line) ? "" : line + "\n";
    return kept;
}

HWND OpenWebRemoteDialog(const CServerProcess& server)
{
    const int IDM_WEB_REMOTE = 0x0020;
    PostMessageA(server.Window(), WM_SYSCOMMAND, IDM_WEB_REMOTE, 0);
    return server.WaitForDialog("Web remote", true);
}

std::string ReadPairingKey(const CServerProcess& server)
{
    const int KEY_CONTROL = 1103;
    HWND hDialog = OpenWebRemoteDialog(server);
    std::string key = DialogItemText(hDialog, KEY_CONTROL);
    PressButton(hDialog, IDOK);
    return key;
}

static std::string RandomHex16()
{
    std::string bytes(16, '\0');
    return SystemRandom(&bytes[0], bytes.size()) ? HexFromBytes(bytes) : std::string();
}

bool MakePairingForm(const std::string& keyText, const std::string& userAgent, PagePairing* pPage)
{
    std::string keyBytes, nonce, seal;
    pPage->idHex = RandomHex16();
    pPage->nonceHex = RandomHex16();
    if (!ParsePairingKey(keyText, &keyBytes) || !BytesFromHex(pPage->nonceHex, &nonce) ||
        !HkdfSha256(keyBytes, nonce, "quorvel pair " + pPage->idHex, 32, &pPage->key))
        return false;
    // As the document has it, not through the server's own functions: iv 00..01,
    // aad "pair <id> <nonce>".
    std::string iv(11, '\0');
    if (!AesGcmSeal(pPage->key, iv + '\1', "pair " + pPage->idHex + " " + pPage->nonceHex,
                    userAgent, &seal))
        return false;
    pPage->form =
        "id=" + pPage->idHex + "&nonce=" + pPage->nonceHex + "&seal=" + HexFromBytes(seal);
    return true;
}

bool OpenPairingAnswer(const PagePairing& page, const std::string& answerJson, std::string* pName)
{
    const std::string prefix = "{\"seal\":\"";
    std::string sealed;
    if (answerJson.compare(0, prefix.size(), prefix) != 0 ||
        !BytesFromHex(answerJson.substr(prefix.size(), answerJson.size() - prefix.size() - 2),
                      &sealed))
        return false;
    return AesGcmOpen(page.key, std::string(11, '\0') + '\2', "paired " + page.idHex, sealed,
                      pName);
}

PagePairing PairWithServer(const CServerProcess& server)
{
    PagePairing page;
    if (!MakePairingForm(ReadPairingKey(server), "", &page) ||
        WebCall("POST", "/api/pair", page.form).nStatus != 200)
        page.idHex.clear();
    return page;
}

// A small HTTP/1.1 client for the web remote's tests, over the phone tool's TCP
// client: requests as the page makes them, responses read whole.
#pragma once
#include <string>
#include <vector>
#include "PhoneClient.h"
#include "ServerProcess.h"

const unsigned short WEB_PORT = 7655;

struct CWebResponse
{
    int nStatus; // 0 when no whole response came
    std::string head;
    std::string body; // of a Content-Length (the tests read no chunked downloads)
    // The value of the first header of that name (case as the server sends it).
    std::string Header(const char* pszName) const;
};

// Percent-encodes all but letters, digits and "-._~", as a form or query value.
std::string UrlEncoded(const std::string& text);
// The request's bytes; POSTs carry the page's header and a form body.
std::string WebRequestBytes(const std::string& method, const std::string& target,
                            const std::string& form = "", const std::string& cookie = "");
bool ReadWebResponse(CPhoneClient& client, CWebResponse* pResponse);
// One request on a connection of its own.
CWebResponse WebCall(const std::string& method, const std::string& target,
                     const std::string& form = "", const std::string& cookie = "");
// The request's bytes on a connection of their own, to and from a local address
// (from another computer, to the server's address there).
CWebResponse WebCallFrom(const char* pszAddress, const std::string& request);
// A fake Winamp 2's record without the state watch's status and volume queries.
std::string WithoutStatusQueries(const std::vector<std::string>& lines);

// Opens the Web remote dialog from the server's system menu; NULL if it never shows.
HWND OpenWebRemoteDialog(const CServerProcess& server);
// The pairing key as the user reads it in that dialog (closed again after).
std::string ReadPairingKey(const CServerProcess& server);

// A page's side of pairing (docs/web-channel.md), with the server's own CNG code.
struct PagePairing
{
    std::string idHex;
    std::string nonceHex;
    std::string key;  // K
    std::string form; // the POST's body
};
// The form a page holding the typed key posts; false when the key does not parse.
bool MakePairingForm(const std::string& keyText, const std::string& userAgent, PagePairing* pPage);
// The name the answer's seal holds; false when it does not open under K.
bool OpenPairingAnswer(const PagePairing& page, const std::string& answerJson, std::string* pName);
// Pairs with the key the dialog shows; the id is "" when pairing failed.
PagePairing PairWithServer(const CServerProcess& server);

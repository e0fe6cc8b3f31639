// Text of URLs, form bodies and cookies as a browser sends them.
// Plain C++, no platform calls.
#pragma once
#include <string>

// Percent-decoding; '+' is a space only when bPlusIsSpace (form and query values).
// False on a malformed escape ("%4", "%zz") or a decoded zero byte.
bool UrlDecode(const std::string& text, bool bPlusIsSpace, std::string* pOut);

// The value of one key of "a=1&b=x%20y" (form body or query), decoded; false when absent
// or malformed. At most the first 64 pairs are looked at. A key without "=" has the
// value "".
bool FormValue(const std::string& form, const char* pszKey, std::string* pValue);

// The value of one cookie of a Cookie header ("a=1; q=xyz"); "" when absent. Names
// compare with case, as browsers keep them; surrounding double quotes are dropped.
std::string CookieValue(const std::string& cookieHeader, const char* pszName);

// Text for the web remote's JSON replies. Plain C++, no platform calls.
#pragma once
#include <string>

// A JSON string literal, quotes included, of UTF-8 text: escapes ", \ and control
// characters; invalid UTF-8 bytes become U+FFFD, so the output is always valid JSON.
// Also escaped: "<" (so that the text can never close a script element) and U+2028,
// U+2029 (which older JavaScript takes for line ends).
std::string JsonString(const std::string& utf8);

// One character of UTF-8 at pText (nSize > 0 bytes left): its code point and how many
// bytes it took. An invalid sequence gives U+FFFD and takes its longest valid start
// (at least one byte), as Unicode recommends; *pbValid tells which.
size_t DecodeUtf8(const unsigned char* pText, size_t nSize, unsigned long* pnCodePoint,
                  bool* pbValid);

// Text for the web remote's JSON replies, and the Western code page the server's
// names are in. Plain C++, no platform calls.
#pragma once
#include <string>

// A JSON string literal, quotes included, of UTF-8 text: escapes ", \ and control
// characters; invalid UTF-8 bytes become U+FFFD, so the output is always valid JSON.
// Also escaped: "<" (so that the text can never close a script element) and U+2028,
// U+2029 (which older JavaScript takes for line ends).
std::string JsonString(const std::string& utf8);

// The same for text in the Western (Windows-1252) code page, converted to UTF-8. The
// server's file names are in the PC's ANSI code page; the listener converts with the
// system when it can, this is the pure fallback and the one the unit tests pin. The
// five bytes the code page leaves undefined map to U+0081, U+008D, U+008F, U+0090 and
// U+009D, as the system maps them, so every name comes back unchanged through
// Cp1252FromUtf8.
std::string JsonStringFromCp1252(const std::string& text);

// UTF-8 to Windows-1252; false when a character has no place in it, the UTF-8 is bad,
// or the text holds a zero character (the result becomes a C string path).
bool Cp1252FromUtf8(const std::string& utf8, std::string* pOut);

// One character of UTF-8 at pText (nSize > 0 bytes left): its code point and how many
// bytes it took. An invalid sequence gives U+FFFD and takes its longest valid start
// (at least one byte), as Unicode recommends; *pbValid tells which.
size_t DecodeUtf8(const unsigned char* pText, size_t nSize, unsigned long* pnCodePoint,
                  bool* pbValid);

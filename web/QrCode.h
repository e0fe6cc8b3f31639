// QR codes of short texts, for the address the web remote's dialog shows: byte mode,
// error correction level M, versions 1 to 10. Plain C++, no platform calls.
#pragma once
#include <string>
#include <vector>

const size_t QR_MAX_TEXT_BYTES = 213; // what version 10 at level M holds in byte mode

// The smallest version that fits the text, the mask chosen by the standard's penalty
// rules; each row a string of '#' dark and ' ' light modules, without the quiet zone.
// False when the text is longer than QR_MAX_TEXT_BYTES.
bool EncodeQrCode(const std::string& text, std::vector<std::string>* pRows);

// The pairing key as the dialog shows it and a user types it: 80 bits in Crockford
// base32, four groups of four. Plain C++.
#pragma once
#include <string>

const size_t PAIRING_KEY_BYTES = 10;

// "XXXX-XXXX-XXXX-XXXX", Crockford base32 of 10 bytes (80 bits), top bits first.
std::string PairingKeyText(const std::string& keyBytes10);
// Reads a typed key: any case, dashes and spaces ignored, O as 0, I and L as 1; false
// unless 16 characters of the alphabet.
bool ParsePairingKey(const std::string& typed, std::string* pKeyBytes10);

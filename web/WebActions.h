// The page's buttons and settings as phone commands: the name of the action in
// the API path, the command it runs and the parameter bytes, read from the form
// body. Plain C++.
#pragma once
#include <string>

// "volume" with body "value=128" gives "VOLM" and the byte 0x80. False for an
// unknown action or a value out of range (or missing).
bool FindWebAction(const std::string& name, const std::string& formBody, char szCommand[5],
                   std::string* pParams);

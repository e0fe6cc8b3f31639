// The page's buttons and settings: POST /api/<action> names a command of the
// command table, with its number (if it takes one) in a form field. Plain C++.
#pragma once
#include <string>

// "volume" with the body "value=128" gives CMD_VOLM and 128. False for an
// unknown action, or a number missing or out of the command's range.
bool ParseWebAction(const std::string& name, const std::string& formBody, int* pnCommandId,
                    long* pnValue);

// The page's buttons and settings: a channel request names a command of the
// command table, with its number (if it takes one) in a field. Plain C++.
#pragma once
#include <string>

class CJsonValue;

// {"op":"volume","value":128} gives CMD_VOLM and 128; {"op":"action","name":"next"}
// gives CMD_NEXT. False for an unknown action, a command that wants a number
// named as an action (or the reverse), or a number missing or out of range.
bool ParseWebAction(const CJsonValue& request, int* pnCommandId, long* pnValue);

// The events of the live channel's "input" message, read and checked: a browser's
// touchpad and keyboard as the PC's input planner takes them. Plain C++.
#pragma once
#include <string>
#include <vector>
#include "JsonReader.h"
#include "../players/InputPlan.h"

// Events in one message; more is refused.
const size_t INPUT_MAX_EVENTS = 512;

// Reads the events array of an input message. Any event malformed or out of range
// refuses the whole message, so that nothing is half typed; *pError then says
// which event and why, without the text or key it carried.
bool ReadInputEvents(const CJsonValue& events, std::vector<InputEvent>* pEvents,
                     std::string* pError);
// The same from the message's JSON text: {"op":"input","events":[...]}.
bool ReadInputMessage(const std::string& json, std::vector<InputEvent>* pEvents,
                      std::string* pError);

// UTF-8 to UTF-16 units, surrogate pairs beyond the BMP; false for invalid UTF-8.
bool Utf8ToUtf16(const std::string& utf8, std::vector<unsigned short>* pUnits);

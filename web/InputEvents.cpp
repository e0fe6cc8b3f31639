#include "InputEvents.h"
#include <stdio.h>
#include "JsonText.h"

static const char* const s_buttonNames[INPUT_BUTTON_COUNT] = {"left", "right", "middle"};
static const char* const s_modifierNames[INPUT_MOD_COUNT] = {"ctrl", "alt", "shift", "win"};

bool Utf8ToUtf16(const std::string& utf8, std::vector<unsigned short>* pUnits)
{
    const unsigned char* pText = reinterpret_cast<const unsigned char*>(utf8.data());
    size_t nAt = 0;
    while (nAt < utf8.size())
    {
        unsigned long nCodePoint = 0;
        bool bValid = false;
        nAt += DecodeUtf8(pText + nAt, utf8.size() - nAt, &nCodePoint, &bValid);
        if (!bValid)
            return false;
        if (nCodePoint < 0x10000)
        {
            pUnits->push_back(static_cast<unsigned short>(nCodePoint));
            continue;
        }
        nCodePoint -= 0x10000;
        pUnits->push_back(static_cast<unsigned short>(0xD800 + (nCodePoint >> 10)));
        pUnits->push_back(static_cast<unsigned short>(0xDC00 + (nCodePoint & 0x3FF)));
    }
    return true;
}

// A whole number within +-nLimit; an absent member is 0.
static bool ReadWhole(const CJsonValue& event, const char* pszName, int nLimit, int* pnValue)
{
    const CJsonValue* pValue = event.Find(pszName);
    long long nValue = 0;
    if (pValue && !pValue->WholeNumber(-nLimit, nLimit, &nValue))
        return false;
    *pnValue = static_cast<int>(nValue);
    return true;
}

static bool ReadFlag(const CJsonValue& event, const char* pszName, bool* pbValue)
{
    const CJsonValue* pValue = event.Find(pszName);
    if (!pValue || pValue->GetType() != CJsonValue::JSON_BOOL)
        return false;
    *pbValue = pValue->Flag();
    return true;
}

// The index of a string member in a list of names; -1 for none.
static int NameIndex(const CJsonValue* pValue, const char* const* ppszNames, int nCount)
{
    if (!pValue || !pValue->IsString())
        return -1;
    for (int i = 0; i < nCount; i++)
    {
        if (pValue->Text() == ppszNames[i])
            return i;
    }
    return -1;
}

static bool ReadModifiers(const CJsonValue* pMods, unsigned* pnMods)
{
    *pnMods = 0;
    if (!pMods)
        return true;
    if (pMods->GetType() != CJsonValue::JSON_ARRAY)
        return false;
    for (size_t i = 0; i < pMods->Items().size(); i++)
    {
        int nIndex = NameIndex(&pMods->Items()[i], s_modifierNames, INPUT_MOD_COUNT);
        if (nIndex < 0)
            return false;
        *pnMods |= 1u << nIndex;
    }
    return true;
}

// Text is what a person types: control characters other than tab and line ends
// are no part of it.
static bool ReadText(const CJsonValue* pText, std::vector<unsigned short>* pUnits)
{
    if (!pText || !pText->IsString() || !Utf8ToUtf16(pText->Text(), pUnits) ||
        pUnits->size() > INPUT_MAX_TEXT_UNITS)
        return false;
    for (size_t i = 0; i < pUnits->size(); i++)
    {
        unsigned short nUnit = (*pUnits)[i];
        if ((nUnit < 0x20 && nUnit != '\t' && nUnit != '\r' && nUnit != '\n') || nUnit == 0x7F)
            return false;
    }
    return true;
}

// One event; the reason it is refused in *ppszWhy.
static bool ReadEvent(const CJsonValue& item, InputEvent* pEvent, const char** ppszWhy)
{
    *ppszWhy = "not an event";
    const CJsonValue* pType = item.Find("t");
    if (!pType || !pType->IsString())
        return false;
    const std::string& type = pType->Text();
    InputEvent& e = *pEvent;
    *ppszWhy = "bad value";
    if (type == "move" || type == "wheel")
    {
        e.nType = type == "move" ? INPUT_EVENT_MOVE : INPUT_EVENT_WHEEL;
        int nLimit = type == "move" ? INPUT_MAX_MOVE : INPUT_MAX_WHEEL;
        return ReadWhole(item, "dx", nLimit, &e.nDx) && ReadWhole(item, "dy", nLimit, &e.nDy);
    }
    if (type == "button" || type == "click")
    {
        e.nType = type == "button" ? INPUT_EVENT_BUTTON : INPUT_EVENT_CLICK;
        e.nButton = NameIndex(item.Find("b"), s_buttonNames, INPUT_BUTTON_COUNT);
        return e.nButton >= 0 && (type == "click" || ReadFlag(item, "down", &e.bDown));
    }
    if (type == "text")
    {
        e.nType = INPUT_EVENT_TEXT;
        return ReadText(item.Find("s"), &e.text);
    }
    if (type == "key")
    {
        e.nType = INPUT_EVENT_KEY;
        const CJsonValue* pName = item.Find("k");
        return pName && pName->IsString() && FindInputKey(pName->Text(), &e.key) &&
               ReadModifiers(item.Find("mods"), &e.nMods);
    }
    if (type == "mod")
    {
        e.nType = INPUT_EVENT_MOD;
        int nIndex = NameIndex(item.Find("k"), s_modifierNames, INPUT_MOD_COUNT);
        e.nMods = nIndex >= 0 ? 1u << nIndex : 0;
        return nIndex >= 0 && ReadFlag(item, "down", &e.bDown);
    }
    *ppszWhy = "unknown type";
    return false;
}

bool ReadInputEvents(const CJsonValue& events, std::vector<InputEvent>* pEvents,
                     std::string* pError)
{
    pEvents->clear();
    bool bList = events.GetType() == CJsonValue::JSON_ARRAY;
    if (!bList || events.Items().size() > INPUT_MAX_EVENTS)
    {
        *pError = !bList ? "no list of events" : "too many events";
        return false;
    }
    for (size_t i = 0; i < events.Items().size(); i++)
    {
        InputEvent event = {};
        const char* pszWhy = "";
        if (!ReadEvent(events.Items()[i], &event, &pszWhy))
        {
            char szError[64];
            snprintf(szError, sizeof(szError), "event %u: %s", static_cast<unsigned>(i + 1),
                     pszWhy);
            *pError = szError;
            pEvents->clear();
            return false;
        }
        pEvents->push_back(event);
    }
    return true;
}

bool ReadInputMessage(const std::string& json, std::vector<InputEvent>* pEvents,
                      std::string* pError)
{
    CJsonValue message;
    if (!ParseJson(json, &message) || message.GetType() != CJsonValue::JSON_OBJECT)
    {
        *pError = "not JSON";
        return false;
    }
    const CJsonValue* pList = message.Find("events");
    if (!pList)
    {
        *pError = "no list of events";
        return false;
    }
    return ReadInputEvents(*pList, pEvents, pError);
}

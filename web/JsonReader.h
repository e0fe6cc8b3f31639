// Reads the JSON text of the page's channel messages into a small tree. Plain
// C++: the messages come from the network, so depth and size are bounded.
#pragma once
#include <string>
#include <utility>
#include <vector>

class CJsonValue
{
public:
    enum Type
    {
        JSON_NULL,
        JSON_BOOL,
        JSON_NUMBER,
        JSON_STRING,
        JSON_ARRAY,
        JSON_OBJECT
    };
    CJsonValue() : m_nType(JSON_NULL), m_bValue(false), m_fValue(0) {}

    Type GetType() const { return m_nType; }
    bool IsString() const { return m_nType == JSON_STRING; }
    // A string's text (UTF-8), "" for anything else.
    const std::string& Text() const { return m_text; }
    bool Flag() const { return m_bValue; }
    double Number() const { return m_fValue; }
    // A whole number in nMin..nMax; false for anything else (a fraction, a string).
    bool WholeNumber(long long nMin, long long nMax, long long* pnValue) const;
    const std::vector<CJsonValue>& Items() const { return m_items; }
    // An object's member of that name; NULL when absent or not an object.
    const CJsonValue* Find(const char* pszName) const;

private:
    friend class CJsonParser;
    Type m_nType;
    bool m_bValue;
    double m_fValue;
    std::string m_text;
    std::vector<CJsonValue> m_items;        // an array's
    std::vector<std::string> m_memberNames; // an object's, beside its values in m_items
};

// Deeper nesting than this is refused: no message of ours comes near it.
const int JSON_MAX_DEPTH = 16;

// The whole text as one value (whitespace around it allowed); false for text
// that is not JSON, is nested too deep or holds invalid UTF-8.
bool ParseJson(const std::string& text, CJsonValue* pValue);

// A small reader of JSON text (RFC 8259) for what browsers send over the live
// channel: values kept in a plain tree. Plain C++, no platform calls.
#pragma once
#include <string>
#include <utility>
#include <vector>

enum JsonType
{
    JSON_NULL,
    JSON_BOOL,
    JSON_NUMBER,
    JSON_STRING,
    JSON_ARRAY,
    JSON_OBJECT
};

struct CJsonValue
{
    CJsonValue() : nType(JSON_NULL), bValue(false), dNumber(0) {}
    // The member of an object by its name (the first of that name); NULL for none
    // or when this is not an object.
    const CJsonValue* Member(const char* pszName) const;

    int nType;
    bool bValue;
    double dNumber;
    std::string text; // a string, in UTF-8
    std::vector<CJsonValue> items;
    std::vector<std::pair<std::string, CJsonValue> > members;
};

// Reads one JSON value that makes up the whole text (white space around it
// allowed). False for anything malformed: bad escapes, lone surrogates, invalid
// UTF-8, nesting deeper than 16, trailing bytes.
bool ReadJson(const std::string& text, CJsonValue* pValue);

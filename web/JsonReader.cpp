#include "JsonReader.h"
#include <stdlib.h>
#include <string.h>
#include "JsonText.h"

static const int MAX_DEPTH = 16;

namespace
{
class CJsonParser
{
public:
    explicit CJsonParser(const std::string& text) : m_text(text), m_nAt(0) {}
    bool ReadWhole(CJsonValue* pValue)
    {
        return ReadValue(pValue, 0) && (SkipSpace(), m_nAt == m_text.size());
    }

private:
    void SkipSpace()
    {
        while (m_nAt < m_text.size() && m_text[m_nAt] != '\0' && strchr(" \t\r\n", m_text[m_nAt]))
            m_nAt++;
    }
    bool Take(char c)
    {
        SkipSpace();
        if (m_nAt >= m_text.size() || m_text[m_nAt] != c)
            return false;
        m_nAt++;
        return true;
    }
    bool TakeWord(const char* pszWord)
    {
        size_t nLength = strlen(pszWord);
        if (m_text.compare(m_nAt, nLength, pszWord) != 0)
            return false;
        m_nAt += nLength;
        return true;
    }
    bool ReadValue(CJsonValue* pValue, int nDepth);
    bool ReadArray(CJsonValue* pValue, int nDepth);
    bool ReadObject(CJsonValue* pValue, int nDepth);
    bool ReadNumber(CJsonValue* pValue);
    bool ReadString(std::string* pOut);
    bool ReadHex4(unsigned long* pnUnit);

    const std::string& m_text;
    size_t m_nAt;
};
} // namespace

static void AppendUtf8(unsigned long nCodePoint, std::string* pOut)
{
    if (nCodePoint < 0x80)
    {
        *pOut += static_cast<char>(nCodePoint);
        return;
    }
    char szBytes[4];
    int nCount = nCodePoint < 0x800 ? 2 : nCodePoint < 0x10000 ? 3 : 4;
    for (int i = nCount - 1; i > 0; i--)
    {
        szBytes[i] = static_cast<char>(0x80 | (nCodePoint & 0x3F));
        nCodePoint >>= 6;
    }
    static const unsigned char s_lead[5] = {0, 0, 0xC0, 0xE0, 0xF0};
    szBytes[0] = static_cast<char>(s_lead[nCount] | nCodePoint);
    pOut->append(szBytes, nCount);
}

bool CJsonParser::ReadValue(CJsonValue* pValue, int nDepth)
{
    SkipSpace();
    if (m_nAt >= m_text.size() || nDepth > MAX_DEPTH)
        return false;
    char c = m_text[m_nAt];
    if (c == '{')
        return ReadObject(pValue, nDepth + 1);
    if (c == '[')
        return ReadArray(pValue, nDepth + 1);
    if (c == '"')
    {
        pValue->nType = JSON_STRING;
        return ReadString(&pValue->text);
    }
    if (TakeWord("true") || TakeWord("false"))
    {
        pValue->nType = JSON_BOOL;
        pValue->bValue = c == 't';
        return true;
    }
    if (TakeWord("null"))
        return true;
    return ReadNumber(pValue);
}

bool CJsonParser::ReadArray(CJsonValue* pValue, int nDepth)
{
    m_nAt++;
    pValue->nType = JSON_ARRAY;
    if (Take(']'))
        return true;
    do
    {
        pValue->items.push_back(CJsonValue());
        if (!ReadValue(&pValue->items.back(), nDepth))
            return false;
    } while (Take(','));
    return Take(']');
}

bool CJsonParser::ReadObject(CJsonValue* pValue, int nDepth)
{
    m_nAt++;
    pValue->nType = JSON_OBJECT;
    if (Take('}'))
        return true;
    do
    {
        pValue->members.push_back(std::make_pair(std::string(), CJsonValue()));
        SkipSpace();
        if (m_nAt >= m_text.size() || m_text[m_nAt] != '"' ||
            !ReadString(&pValue->members.back().first) || !Take(':') ||
            !ReadValue(&pValue->members.back().second, nDepth))
            return false;
    } while (Take(','));
    return Take('}');
}

// The grammar's number, checked by hand: strtod alone would take hex, "inf" and
// leading "+" or ".".
bool CJsonParser::ReadNumber(CJsonValue* pValue)
{
    size_t nStart = m_nAt;
    const std::string& t = m_text;
    size_t i = m_nAt;
    if (i < t.size() && t[i] == '-')
        i++;
    if (i >= t.size() || t[i] < '0' || t[i] > '9')
        return false;
    if (t[i] == '0')
        i++;
    else
        while (i < t.size() && t[i] >= '0' && t[i] <= '9')
            i++;
    if (i < t.size() && t[i] == '.')
    {
        size_t nDigits = ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9')
            i++;
        if (i == nDigits)
            return false;
    }
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E'))
    {
        i++;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            i++;
        size_t nDigits = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9')
            i++;
        if (i == nDigits)
            return false;
    }
    m_nAt = i;
    pValue->nType = JSON_NUMBER;
    pValue->dNumber = strtod(t.substr(nStart, i - nStart).c_str(), NULL);
    return true;
}

bool CJsonParser::ReadHex4(unsigned long* pnUnit)
{
    if (m_nAt + 4 > m_text.size())
        return false;
    unsigned long nUnit = 0;
    for (int i = 0; i < 4; i++)
    {
        char c = m_text[m_nAt++];
        int nDigit = c >= '0' && c <= '9'   ? c - '0'
                     : c >= 'a' && c <= 'f' ? c - 'a' + 10
                     : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                            : -1;
        if (nDigit < 0)
            return false;
        nUnit = nUnit * 16 + static_cast<unsigned long>(nDigit);
    }
    *pnUnit = nUnit;
    return true;
}

bool CJsonParser::ReadString(std::string* pOut)
{
    m_nAt++;
    const unsigned char* pText = reinterpret_cast<const unsigned char*>(m_text.data());
    while (m_nAt < m_text.size())
    {
        unsigned char c = pText[m_nAt];
        if (c == '"')
        {
            m_nAt++;
            return true;
        }
        if (c < 0x20)
            return false;
        if (c != '\\')
        {
            unsigned long nCodePoint = 0;
            bool bValid = false;
            size_t nLength = DecodeUtf8(pText + m_nAt, m_text.size() - m_nAt, &nCodePoint, &bValid);
            if (!bValid)
                return false;
            pOut->append(m_text, m_nAt, nLength);
            m_nAt += nLength;
            continue;
        }
        if (++m_nAt >= m_text.size())
            return false;
        char cEscape = m_text[m_nAt++];
        const char* pszFrom = "\"\\/bfnrt";
        const char* pszTo = "\"\\/\b\f\n\r\t";
        const char* pFound = cEscape ? strchr(pszFrom, cEscape) : NULL;
        if (pFound)
        {
            *pOut += pszTo[pFound - pszFrom];
            continue;
        }
        unsigned long nUnit = 0;
        if (cEscape != 'u' || !ReadHex4(&nUnit) || (nUnit >= 0xDC00 && nUnit <= 0xDFFF))
            return false;
        if (nUnit >= 0xD800 && nUnit <= 0xDBFF)
        {
            // A high surrogate must be followed by its low one.
            unsigned long nLow = 0;
            if (!TakeWord("\\u") || !ReadHex4(&nLow) || nLow < 0xDC00 || nLow > 0xDFFF)
                return false;
            nUnit = 0x10000 + ((nUnit - 0xD800) << 10) + (nLow - 0xDC00);
        }
        AppendUtf8(nUnit, pOut);
    }
    return false;
}

const CJsonValue* CJsonValue::Member(const char* pszName) const
{
    for (size_t i = 0; i < members.size(); i++)
    {
        if (members[i].first == pszName)
            return &members[i].second;
    }
    return NULL;
}

bool ReadJson(const std::string& text, CJsonValue* pValue)
{
    *pValue = CJsonValue();
    CJsonParser parser(text);
    return parser.ReadWhole(pValue);
}

#include "JsonReader.h"
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include "JsonText.h"

bool CJsonValue::WholeNumber(long long nMin, long long nMax, long long* pnValue) const
{
    if (m_nType != JSON_NUMBER || m_fValue != floor(m_fValue) ||
        m_fValue < static_cast<double>(nMin) || m_fValue > static_cast<double>(nMax))
        return false;
    *pnValue = static_cast<long long>(m_fValue);
    return true;
}

const CJsonValue* CJsonValue::Find(const char* pszName) const
{
    if (m_nType != JSON_OBJECT)
        return NULL;
    for (size_t i = 0; i < m_memberNames.size(); i++)
    {
        if (m_memberNames[i] == pszName)
            return &m_items[i];
    }
    return NULL;
}

class CJsonParser
{
public:
    explicit CJsonParser(const std::string& text) : m_text(text), m_nAt(0) {}

    bool ParseWhole(CJsonValue* pValue)
    {
        if (!ParseValue(pValue, 0))
            return false;
        SkipSpace();
        return m_nAt == m_text.size();
    }

private:
    void SkipSpace()
    {
        while (m_nAt < m_text.size() && strchr(" \t\r\n", m_text[m_nAt]) && m_text[m_nAt] != '\0')
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

    bool ParseValue(CJsonValue* pValue, int nDepth)
    {
        SkipSpace();
        if (m_nAt >= m_text.size() || nDepth > JSON_MAX_DEPTH)
            return false;
        char c = m_text[m_nAt];
        if (c == '{' || c == '[')
            return ParseContainer(pValue, nDepth);
        if (c == '"')
        {
            pValue->m_nType = CJsonValue::JSON_STRING;
            return ParseString(&pValue->m_text);
        }
        if (TakeWord("true") || TakeWord("false"))
        {
            pValue->m_nType = CJsonValue::JSON_BOOL;
            pValue->m_bValue = c == 't';
            return true;
        }
        if (TakeWord("null"))
            return true;
        return ParseNumber(pValue);
    }

    bool ParseContainer(CJsonValue* pValue, int nDepth)
    {
        bool bObject = m_text[m_nAt++] == '{';
        char cEnd = bObject ? '}' : ']';
        pValue->m_nType = bObject ? CJsonValue::JSON_OBJECT : CJsonValue::JSON_ARRAY;
        if (Take(cEnd))
            return true;
        do
        {
            if (bObject)
            {
                std::string name;
                SkipSpace();
                if (!ParseString(&name) || !Take(':'))
                    return false;
                pValue->m_memberNames.push_back(name);
            }
            pValue->m_items.push_back(CJsonValue());
            if (!ParseValue(&pValue->m_items.back(), nDepth + 1))
                return false;
        } while (Take(','));
        return Take(cEnd);
    }

    // JSON's grammar for numbers, read by strtod once it is known to match.
    bool ParseNumber(CJsonValue* pValue)
    {
        size_t nStart = m_nAt;
        if (m_nAt < m_text.size() && m_text[m_nAt] == '-')
            m_nAt++;
        size_t nIntStart = m_nAt;
        size_t nDigits = SkipDigits();
        if (nDigits == 0 || (nDigits > 1 && m_text[nIntStart] == '0'))
            return false;
        if (m_nAt < m_text.size() && m_text[m_nAt] == '.')
        {
            m_nAt++;
            if (SkipDigits() == 0)
                return false;
        }
        if (m_nAt < m_text.size() && (m_text[m_nAt] == 'e' || m_text[m_nAt] == 'E'))
        {
            m_nAt++;
            if (m_nAt < m_text.size() && (m_text[m_nAt] == '+' || m_text[m_nAt] == '-'))
                m_nAt++;
            if (SkipDigits() == 0)
                return false;
        }
        pValue->m_nType = CJsonValue::JSON_NUMBER;
        pValue->m_fValue = strtod(m_text.substr(nStart, m_nAt - nStart).c_str(), NULL);
        return true;
    }
    size_t SkipDigits()
    {
        size_t nStart = m_nAt;
        while (m_nAt < m_text.size() && m_text[m_nAt] >= '0' && m_text[m_nAt] <= '9')
            m_nAt++;
        return m_nAt - nStart;
    }

    bool ParseString(std::string* pText)
    {
        if (m_nAt >= m_text.size() || m_text[m_nAt] != '"')
            return false;
        m_nAt++;
        while (m_nAt < m_text.size())
        {
            unsigned char c = static_cast<unsigned char>(m_text[m_nAt]);
            if (c == '"')
            {
                m_nAt++;
                return true;
            }
            if (c < 0x20)
                return false;
            if (c == '\\')
            {
                if (!ParseEscape(pText))
                    return false;
                continue;
            }
            unsigned long nCode = 0;
            bool bValid = false;
            size_t nUsed = DecodeUtf8(reinterpret_cast<const unsigned char*>(m_text.data()) + m_nAt,
                                      m_text.size() - m_nAt, &nCode, &bValid);
            if (!bValid)
                return false;
            pText->append(m_text, m_nAt, nUsed);
            m_nAt += nUsed;
        }
        return false;
    }

    bool ParseEscape(std::string* pText)
    {
        if (++m_nAt >= m_text.size())
            return false;
        char c = m_text[m_nAt++];
        const char* pszFrom = "\"\\/bfnrt";
        const char* pszTo = "\"\\/\b\f\n\r\t";
        const char* pFound = strchr(pszFrom, c);
        if (c != '\0' && pFound)
        {
            pText->push_back(pszTo[pFound - pszFrom]);
            return true;
        }
        unsigned long nCode = 0;
        if (c != 'u' || !ParseHex4(&nCode))
            return false;
        // A surrogate pair's high half must be followed by its low half.
        if (nCode >= 0xD800 && nCode <= 0xDBFF)
        {
            unsigned long nLow = 0;
            if (!TakeWord("\\u") || !ParseHex4(&nLow) || nLow < 0xDC00 || nLow > 0xDFFF)
                return false;
            nCode = 0x10000 + ((nCode - 0xD800) << 10) + (nLow - 0xDC00);
        }
        else if (nCode >= 0xDC00 && nCode <= 0xDFFF)
            return false;
        AppendUtf8(nCode, pText);
        return true;
    }
    bool ParseHex4(unsigned long* pnCode)
    {
        if (m_nAt + 4 > m_text.size())
            return false;
        std::string digits = m_text.substr(m_nAt, 4);
        if (digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return false;
        *pnCode = strtoul(digits.c_str(), NULL, 16);
        m_nAt += 4;
        return true;
    }
    static void AppendUtf8(unsigned long nCode, std::string* pText)
    {
        if (nCode < 0x80)
            pText->push_back(static_cast<char>(nCode));
        else if (nCode < 0x800)
        {
            pText->push_back(static_cast<char>(0xC0 | (nCode >> 6)));
            pText->push_back(static_cast<char>(0x80 | (nCode & 0x3F)));
        }
        else if (nCode < 0x10000)
        {
            pText->push_back(static_cast<char>(0xE0 | (nCode >> 12)));
            pText->push_back(static_cast<char>(0x80 | ((nCode >> 6) & 0x3F)));
            pText->push_back(static_cast<char>(0x80 | (nCode & 0x3F)));
        }
        else
        {
            pText->push_back(static_cast<char>(0xF0 | (nCode >> 18)));
            pText->push_back(static_cast<char>(0x80 | ((nCode >> 12) & 0x3F)));
            pText->push_back(static_cast<char>(0x80 | ((nCode >> 6) & 0x3F)));
            pText->push_back(static_cast<char>(0x80 | (nCode & 0x3F)));
        }
    }

    const std::string& m_text;
    size_t m_nAt;
};

bool ParseJson(const std::string& text, CJsonValue* pValue)
{
    *pValue = CJsonValue();
    CJsonParser parser(text);
    return parser.ParseWhole(pValue);
}

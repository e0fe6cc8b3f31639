#include "TextLines.h"

std::vector<std::string> TextLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t nAt = 0;
    while (nAt < text.size())
    {
        size_t nEnd = text.find('\n', nAt);
        if (nEnd == std::string::npos)
            nEnd = text.size();
        std::string line = text.substr(nAt, nEnd - nAt);
        nAt = nEnd + 1;
        if (!line.empty() && line[line.size() - 1] == '\r')
            line.erase(line.size() - 1);
        lines.push_back(line);
    }
    return lines;
}

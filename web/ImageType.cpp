#include "ImageType.h"
#include <string.h>

std::string ServedImageType(const std::string& contentType)
{
    std::string type = contentType.substr(0, contentType.find(';'));
    size_t nFirst = type.find_first_not_of(" \t");
    size_t nLast = type.find_last_not_of(" \t");
    type = nFirst == std::string::npos ? std::string() : type.substr(nFirst, nLast - nFirst + 1);
    for (size_t i = 0; i < type.size(); i++)
    {
        char c = type[i];
        if (c >= 'A' && c <= 'Z')
            type[i] = static_cast<char>(c - 'A' + 'a');
        // A media type's name (RFC 6838): nothing that could end a header line.
        else if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                   (c != '\0' && strchr("/!#$&^_.+-", c))))
            return std::string();
    }
    const size_t PREFIX = 6; // "image/"
    if (type.size() <= PREFIX || type.compare(0, PREFIX, "image/") != 0 ||
        type.find('/', PREFIX) != std::string::npos || type.find("svg") != std::string::npos ||
        type.find("xml") != std::string::npos)
        return std::string();
    return type;
}

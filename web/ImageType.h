// Which artwork the page may be sent: pictures, and nothing a browser would
// open as a document of this site. Plain C++, no platform calls.
#pragma once
#include <string>

// The Content-Type to send an app's artwork with: its image/* type in lower
// case, without parameters. "" for any other type, a malformed one, and for
// SVG and XML, whose scripts would run as this site's if the address were opened.
std::string ServedImageType(const std::string& contentType);

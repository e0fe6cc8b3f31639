// Text files read by the web remote (playlists, the paired browsers) as lines.
#pragma once
#include <string>
#include <vector>

// The lines of text, split at "\n" with a "\r" before it dropped; no line
// after a final "\n".
std::vector<std::string> TextLines(const std::string& text);

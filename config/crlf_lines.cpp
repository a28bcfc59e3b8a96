// Turning the writer's LF line ends into the CR LF an edit control needs.
#include "crlf_lines.h"

std::string CrLfLines(const std::string& lfText)
{
    std::string text;
    text.reserve(lfText.size() + lfText.size() / 16);
    std::size_t lineStart = 0;
    for (std::size_t end = lfText.find('\n'); end != std::string::npos; end = lfText.find('\n', lineStart)) {
        text.append(lfText, lineStart, end - lineStart);
        text += "\r\n";
        lineStart = end + 1;
    }
    return text;
}

// The shape check of generated krb5.conf text.
#include "config_lines.h"

#include <cstdio>

bool IsConfigToken(const std::string& text)
{
    if (text.empty())
        return false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F)
            return false;
        switch (byte) {
        case '=':
        case '{':
        case '}':
        case '[':
        case ']':
        case ';':
        case '#':
        case '"':
            return false;
        default:
            break;
        }
    }
    return true;
}

namespace {

const char kIndent[] = "    ";
const char kEquals[] = " = ";

bool IsValueWords(const std::string& value)
{
    if (value.empty())
        return false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t blank = value.find(' ', start);
        if (!IsConfigToken(value.substr(start, blank == std::string::npos ? std::string::npos : blank - start)))
            return false;
        if (blank == std::string::npos)
            return true;
        start = blank + 1;
    }
}

// The line as C source would write it, so that a message shows every byte.
std::string Shown(const std::string& line)
{
    std::string shown = "\"";
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned>(byte));
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown + "\"";
}

struct LineReader {
    std::string section;
    std::string subsection;
    bool inSubsection = false;

    // One line, or the reason it is not one of the forms.
    bool Read(const std::string& text, ConfigLine& line, std::string& why)
    {
        line = ConfigLine();
        if (text.empty()) {
            if (inSubsection)
                return Refuse(why, "an empty line inside a subsection");
            line.kind = ConfigLineKind::Empty;
            line.section = section;
            return true;
        }
        if (text.front() == '[') {
            if (inSubsection)
                return Refuse(why, "a section header inside a subsection");
            if (text.size() < 3 || text.back() != ']' || !IsConfigToken(text.substr(1, text.size() - 2)))
                return Refuse(why, "not a section header");
            section = text.substr(1, text.size() - 2);
            line.kind = ConfigLineKind::SectionHeader;
            line.section = section;
            return true;
        }
        if (section.empty())
            return Refuse(why, "a line before the first section header");
        line.section = section;
        if (text == "}") {
            if (!inSubsection)
                return Refuse(why, "a closing brace outside a subsection");
            line.kind = ConfigLineKind::SubsectionClosing;
            line.subsection = subsection;
            inSubsection = false;
            return true;
        }
        std::string body = text;
        if (inSubsection) {
            if (body.compare(0, sizeof kIndent - 1, kIndent) != 0)
                return Refuse(why, "a relation in a subsection without its four-blank indent");
            body.erase(0, sizeof kIndent - 1);
        }
        const std::size_t equals = body.find(kEquals);
        if (equals == std::string::npos)
            return Refuse(why, "no \" = \"");
        line.tag = body.substr(0, equals);
        line.value = body.substr(equals + sizeof kEquals - 1);
        if (!IsConfigToken(line.tag))
            return Refuse(why, "the tag is not one token");
        if (line.tag.find('*') != std::string::npos)  // MIT cuts the name there and marks it final
            return Refuse(why, "the tag holds MIT's final marker \"*\"");
        if (line.value == "{") {
            if (inSubsection)
                return Refuse(why, "a subsection opening inside a subsection");
            line.kind = ConfigLineKind::SubsectionOpening;
            subsection = line.tag;
            line.subsection = subsection;
            line.tag.clear();
            line.value.clear();
            inSubsection = true;
            return true;
        }
        if (!IsValueWords(line.value))
            return Refuse(why, "the value is not tokens joined by single blanks");
        line.kind = ConfigLineKind::Relation;
        if (inSubsection)
            line.subsection = subsection;
        return true;
    }

    static bool Refuse(std::string& why, const char* reason)
    {
        why = reason;
        return false;
    }
};

}  // namespace

bool ParseConfigLines(const std::string& text, std::vector<ConfigLine>& lines, std::string& error)
{
    lines.clear();
    LineReader reader;
    std::size_t start = 0;
    std::size_t number = 1;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string content = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string why;
        ConfigLine line;
        if (end == std::string::npos)
            why = "the last line has no LF";
        else
            reader.Read(content, line, why);
        if (!why.empty()) {
            error = "line " + std::to_string(number) + " " + Shown(content) + ": " + why;
            return false;
        }
        lines.push_back(line);
        start = end + 1;
        ++number;
    }
    if (reader.inSubsection) {
        error = "the text ends inside the subsection " + Shown(reader.subsection);
        return false;
    }
    return true;
}

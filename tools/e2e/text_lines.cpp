// Splitting, joining, quoting and comparing lines of text.
#include "text_lines.h"

#include <cstdio>
#include <set>

bool SplitCrLfLines(const std::string& text, std::vector<std::string>& lines, std::string& error)
{
    lines.clear();
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            lines.push_back(line);
            line.clear();
            ++i;
        } else if (c == '\r' || c == '\n') {
            error = std::string("a lone ") + (c == '\r' ? "CR" : "LF") + " at byte " + std::to_string(i);
            return false;
        } else {
            line += c;
        }
    }
    if (!line.empty()) {
        error = "the last line " + Quoted(line) + " has no CR LF";
        return false;
    }
    return true;
}

bool SplitLfLines(const std::string& text, std::vector<std::string>& lines, std::string& error)
{
    lines.clear();
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            error = "a CR at byte " + std::to_string(i);
            return false;
        }
        if (text[i] == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += text[i];
        }
    }
    if (!line.empty()) {
        error = "the last line " + Quoted(line) + " has no LF";
        return false;
    }
    return true;
}

std::string JoinLines(const std::vector<std::string>& lines, const std::string& end)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                char escaped[5];
                std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned>(byte));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string DescribeLineDifference(const std::vector<std::string>& expected, const std::vector<std::string>& actual)
{
    if (expected == actual)
        return {};
    std::size_t first = 0;
    while (first < expected.size() && first < actual.size() && expected[first] == actual[first])
        ++first;
    std::string message = "expected " + std::to_string(expected.size()) + " lines, found " +
                          std::to_string(actual.size()) + "; first difference at line " + std::to_string(first + 1) + ":";
    message += "\n  expected: " + (first < expected.size() ? Quoted(expected[first]) : std::string("(no line)"));
    message += "\n  found:    " + (first < actual.size() ? Quoted(actual[first]) : std::string("(no line)"));
    message += "\nfound lines:";
    for (const std::string& line : actual)
        message += "\n  " + Quoted(line);
    return message;
}

bool MatchesPattern(const std::string& pattern, const std::string& text)
{
    return pattern == "*" || pattern == text;
}

bool FindNamedItems(const std::vector<std::string>& items, const std::vector<std::string>& names,
                    std::size_t nameOffset, std::vector<int>& indexes, std::string& missing)
{
    indexes.clear();
    const bool all = names.size() == 1 && names.front() == "*";
    std::set<std::string> wanted(names.begin(), names.end());
    std::set<std::string> found;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string name = items[i].size() >= nameOffset ? items[i].substr(nameOffset) : std::string();
        if (all || wanted.count(name) != 0) {
            indexes.push_back(static_cast<int>(i));
            found.insert(name);
        }
    }
    if (all)
        return true;
    for (const std::string& name : names) {
        if (found.count(name) == 0) {
            missing = name;
            return false;
        }
    }
    return true;
}

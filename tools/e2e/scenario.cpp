// Reading scenario files: step lines, quoted tokens, text blocks and variables.
#include "scenario.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool IsCommentOrEmpty(const std::string& line)
{
    const std::size_t first = line.find_first_not_of(" \t");
    return first == std::string::npos || line[first] == '#';
}

}  // namespace

bool SplitStepLine(const std::string& line, std::vector<std::string>& tokens, std::string& error, bool* lastQuoted)
{
    tokens.clear();
    bool quoted = false;
    std::size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            ++i;
            continue;
        }
        std::string token;
        if (line[i] != '"') {
            while (i < line.size() && !IsBlank(line[i]))
                token += line[i++];
            tokens.push_back(token);
            quoted = false;
            continue;
        }
        ++i;
        bool closed = false;
        while (i < line.size()) {
            const char c = line[i++];
            if (c == '"') {
                closed = true;
                break;
            }
            if (c != '\\') {
                token += c;
                continue;
            }
            if (i == line.size() || (line[i] != '"' && line[i] != '\\')) {
                error = "only \\\" and \\\\ may follow a backslash in quotes";
                return false;
            }
            token += line[i++];
        }
        if (!closed) {
            error = "a quoted token is not closed";
            return false;
        }
        tokens.push_back(token);
        quoted = true;
    }
    if (lastQuoted != nullptr)
        *lastQuoted = quoted;
    return true;
}

bool ParseScenario(const std::string& text, std::vector<ScenarioStep>& steps, std::string& error)
{
    steps.clear();
    const std::vector<std::string> lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (IsCommentOrEmpty(lines[i]))
            continue;
        const std::string where = "line " + std::to_string(i + 1) + ": ";
        std::vector<std::string> tokens;
        std::string reason;
        bool lastQuoted = false;
        if (!SplitStepLine(lines[i], tokens, reason, &lastQuoted)) {
            error = where + reason;
            return false;
        }
        ScenarioStep step;
        step.line = static_cast<int>(i + 1);
        step.verb = tokens.front();
        step.args.assign(tokens.begin() + 1, tokens.end());
        if (!step.args.empty() && !lastQuoted && step.args.back().size() > 2 && step.args.back().compare(0, 2, "<<") == 0) {
            const std::string terminator = step.args.back().substr(2);
            step.args.pop_back();
            step.hasBlock = true;
            std::size_t j = i + 1;
            while (j < lines.size() && lines[j] != terminator)
                step.block.push_back(lines[j++]);
            if (j == lines.size()) {
                error = where + "the block has no closing line \"" + terminator + "\"";
                return false;
            }
            i = j;
        }
        steps.push_back(step);
    }
    return true;
}

bool ExpandVariables(const std::string& text, const std::map<std::string, std::string>& values,
                     std::string& expanded, std::string& error)
{
    expanded.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t open = text.find("${", start);
        if (open == std::string::npos)
            break;
        const std::size_t close = text.find('}', open + 2);
        if (close == std::string::npos) {
            error = "\"${\" without a closing \"}\"";
            return false;
        }
        const std::string name = text.substr(open + 2, close - open - 2);
        const auto value = values.find(name);
        if (value == values.end()) {
            error = "unknown variable \"${" + name + "}\"";
            return false;
        }
        expanded += text.substr(start, open - start) + value->second;
        start = close + 1;
    }
    expanded += text.substr(start);
    return true;
}

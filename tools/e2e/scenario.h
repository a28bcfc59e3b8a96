// Scenario files of the end-to-end driver: one step a line, with optional verbatim text blocks.
//
//   # a comment
//   select available corp.riverton.test "name with spaces"
//   expect-log <<END
//   Info: Found 3 realms.
//   END
//
// Tokens are separated by blanks; a token in double quotes may hold blanks, \" and \\. A last
// token "<<WORD", not in quotes, opens a block: the following lines, kept byte for byte, up to a line that is
// exactly WORD.
#ifndef QUILLMERE_E2E_SCENARIO_H
#define QUILLMERE_E2E_SCENARIO_H

#include <map>
#include <string>
#include <vector>

struct ScenarioStep {
    int line = 0;  // line number of the step in its file, for messages
    std::string verb;
    std::vector<std::string> args;
    bool hasBlock = false;
    std::vector<std::string> block;
};

// Splits one step line into tokens; lastQuoted, when given, tells whether the last token was
// in quotes. False, with the reason in error, on an unclosed quote or an unknown escape.
bool SplitStepLine(const std::string& line, std::vector<std::string>& tokens, std::string& error,
                   bool* lastQuoted = nullptr);

// Reads a whole scenario. Lines may end in LF or CR LF. False, with "line N: reason" in error,
// on a malformed line or a block without its closing line.
bool ParseScenario(const std::string& text, std::vector<ScenarioStep>& steps, std::string& error);

// Replaces every "${name}" by its value. False, naming the variable in error, when one is unknown
// or not closed.
bool ExpandVariables(const std::string& text, const std::map<std::string, std::string>& values,
                     std::string& expanded, std::string& error);

#endif

// Texts read from the program's controls and files, as lines, and how two line lists differ.
#ifndef QUILLMERE_E2E_TEXT_LINES_H
#define QUILLMERE_E2E_TEXT_LINES_H

#include <string>
#include <vector>

// Splits an edit control's text whose every line ends in CR LF. False, with the byte offset in
// error, at a lone CR or LF or at a last line without its CR LF.
bool SplitCrLfLines(const std::string& text, std::vector<std::string>& lines, std::string& error);

// Splits a file's text whose every line ends in a bare LF. False, with the byte offset in error,
// at any CR or at a last line without its LF.
bool SplitLfLines(const std::string& text, std::vector<std::string>& lines, std::string& error);

// Each line followed by end, the way a file or an edit control holds a list of lines.
std::string JoinLines(const std::vector<std::string>& lines, const std::string& end);

// A text in double quotes with CR, LF, tab, backslash, quote and other control bytes escaped,
// so that a message shows exactly what was there.
std::string Quoted(const std::string& text);

// Empty when both lists are equal; otherwise the first difference and the actual lines.
std::string DescribeLineDifference(const std::vector<std::string>& expected, const std::vector<std::string>& actual);

// "*" matches any text; anything else only itself.
bool MatchesPattern(const std::string& pattern, const std::string& text);

// The indexes, ascending, of the items whose text from nameOffset on is one of names; "*" alone
// names every item. False, with the first name that no item has in missing.
bool FindNamedItems(const std::vector<std::string>& items, const std::vector<std::string>& names,
                    std::size_t nameOffset, std::vector<int>& indexes, std::string& missing);

#endif

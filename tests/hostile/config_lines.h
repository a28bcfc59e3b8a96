// The shape check of a generated krb5.conf text: every line one of the forms the writer makes,
// every name and value one token (or, for values, tokens joined by single blanks).
#ifndef QUILLMERE_CONFIG_LINES_H
#define QUILLMERE_CONFIG_LINES_H

#include <string>
#include <vector>

// A byte sequence that a krb5.conf reader takes as one word and nothing more: non-empty, no byte
// at or below 0x20, no 0x7F, none of = { } [ ] ; # ". Bytes above 127 are allowed.
bool IsConfigToken(const std::string& text);

enum class ConfigLineKind { SectionHeader, SubsectionOpening, SubsectionClosing, Empty, Relation };

struct ConfigLine {
    ConfigLineKind kind = ConfigLineKind::Empty;
    std::string section;     // the section the line stands in (a header: its own name)
    std::string subsection;  // the open subsection: its opening, closing and relations
    std::string tag;         // relations only
    std::string value;
};

// Splits an LF-ended text into its lines. False, with the line number and the line quoted in
// error, at the first line that is not a section header, a subsection opening or closing, an
// empty line outside a subsection, or a relation "tag = value" (four blanks before it inside a
// subsection, none outside) whose tag is a token and whose value is tokens joined by single
// blanks; also at a tag or subsection name with a "*", where MIT's reader cuts the name and
// takes the rest for its "final" marker, and when a line stands where its form can't (a relation before any
// section, a header inside a subsection) or the text ends inside a subsection or without its
// last LF.
bool ParseConfigLines(const std::string& text, std::vector<ConfigLine>& lines, std::string& error);

#endif

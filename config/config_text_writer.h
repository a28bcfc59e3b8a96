// The krb5.conf syntax writer: flat and nested sections in a fixed layout on a narrow stream.
#ifndef QUILLMERE_CONFIG_TEXT_WRITER_H
#define QUILLMERE_CONFIG_TEXT_WRITER_H

#include <ostream>
#include <string>
#include <vector>

// A tag beginning with ";" makes the whole relation a comment line holding only the tag.
struct Relation {
    std::string tag;
    std::string value;
};

// A name beginning with ";" makes the subsection a comment line: no braces, no relations.
struct Subsection {
    std::string name;
    std::vector<Relation> relations;
};

// Writes verbatim: nothing is quoted, trimmed, re-cased or checked. Every line ends in LF
// and is flushed; each call appends a section to what the stream already holds.
struct ConfigTextWriter {
    std::ostream& out;

    void WriteSection(const std::string& name, const std::vector<Relation>& relations) const;
    void WriteNestedSection(const std::string& name, const std::vector<Subsection>& subsections) const;
};

#endif

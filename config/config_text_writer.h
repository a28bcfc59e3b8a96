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
    // Where a relation's line is put together, so that it reaches the stream in one write.
    mutable std::string line = {};

    void WriteSection(const std::string& name, const std::vector<Relation>& relations) const;
    void WriteNestedSection(const std::string& name, const std::vector<Subsection>& subsections) const;

    // A nested section line by line, for one too large to hold at once: the header, each
    // subsection's opening, relations and closing, then the end, as WriteNestedSection writes them.
    void WriteSectionHeader(const std::string& name) const;
    // False for a comment name, which is written alone: no relations and no closing follow.
    bool WriteSubsectionOpening(const std::string& name) const;
    void WriteNestedRelation(const std::string& tag, const std::string& value) const;
    void WriteSubsectionClosing() const;
    void WriteSectionEnd() const;
};

#endif

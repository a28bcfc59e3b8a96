// The writer's line forms: header, relations, subsection braces and the empty line after a section.
#include "config_text_writer.h"

namespace {

bool IsComment(const std::string& text)
{
    return !text.empty() && text[0] == ';';
}

// Flushed after its LF, as std::endl would: every line reaches the stream's buffer as soon as it
// is complete.
void WriteRelation(const ConfigTextWriter& writer, const std::string& tag, const std::string& value, const char* indent)
{
    if (IsComment(tag)) {
        writer.out << tag << std::endl;
        return;
    }
    std::string& line = writer.line;
    line.assign(indent);
    line += tag;
    line += " = ";
    line += value;
    line += '\n';
    writer.out.write(line.data(), static_cast<std::streamsize>(line.size()));
    writer.out.flush();
}

}  // namespace

void ConfigTextWriter::WriteSection(const std::string& name, const std::vector<Relation>& relations) const
{
    WriteSectionHeader(name);
    for (const Relation& relation : relations)
        WriteRelation(*this, relation.tag, relation.value, "");
    WriteSectionEnd();
}

void ConfigTextWriter::WriteNestedSection(const std::string& name, const std::vector<Subsection>& subsections) const
{
    WriteSectionHeader(name);
    for (const Subsection& subsection : subsections) {
        if (!WriteSubsectionOpening(subsection.name))
            continue;
        for (const Relation& relation : subsection.relations)
            WriteNestedRelation(relation.tag, relation.value);
        WriteSubsectionClosing();
    }
    WriteSectionEnd();
}

void ConfigTextWriter::WriteSectionHeader(const std::string& name) const
{
    out << '[' << name << ']' << std::endl;
}

bool ConfigTextWriter::WriteSubsectionOpening(const std::string& name) const
{
    if (IsComment(name)) {
        out << name << std::endl;
        return false;
    }
    out << name << " = {" << std::endl;
    return true;
}

void ConfigTextWriter::WriteNestedRelation(const std::string& tag, const std::string& value) const
{
    WriteRelation(*this, tag, value, "    ");
}

void ConfigTextWriter::WriteSubsectionClosing() const
{
    out << '}' << std::endl;
}

void ConfigTextWriter::WriteSectionEnd() const
{
    out << std::endl;
}

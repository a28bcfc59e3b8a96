// The writer's line forms: header, relations, subsection braces and the empty line after a section.
#include "config_text_writer.h"

namespace {

bool IsComment(const std::string& text)
{
    return !text.empty() && text[0] == ';';
}

// std::endl, not '\n': every line reaches the stream's buffer as soon as it is complete.
void WriteRelation(std::ostream& out, const Relation& relation, const char* indent)
{
    if (IsComment(relation.tag))
        out << relation.tag << std::endl;
    else
        out << indent << relation.tag << " = " << relation.value << std::endl;
}

}  // namespace

void ConfigTextWriter::WriteSection(const std::string& name, const std::vector<Relation>& relations) const
{
    out << '[' << name << ']' << std::endl;
    for (const Relation& relation : relations)
        WriteRelation(out, relation, "");
    out << std::endl;
}

void ConfigTextWriter::WriteNestedSection(const std::string& name, const std::vector<Subsection>& subsections) const
{
    out << '[' << name << ']' << std::endl;
    for (const Subsection& subsection : subsections) {
        if (IsComment(subsection.name)) {
            out << subsection.name << std::endl;
            continue;
        }
        out << subsection.name << " = {" << std::endl;
        for (const Relation& relation : subsection.relations)
            WriteRelation(out, relation, "    ");
        out << '}' << std::endl;
    }
    out << std::endl;
}

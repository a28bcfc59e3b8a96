// The writer's byte layout: line forms, comments, empty lists, separation and flushing.
#include "config_text_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

std::string Flat(const std::string& name, const std::vector<Relation>& relations)
{
    std::ostringstream out;
    ConfigTextWriter{out}.WriteSection(name, relations);
    return out.str();
}

std::string Nested(const std::string& name, const std::vector<Subsection>& subsections)
{
    std::ostringstream out;
    ConfigTextWriter{out}.WriteNestedSection(name, subsections);
    return out.str();
}

}  // namespace

TEST(ConfigTextWriter, FlatSectionLines)
{
    EXPECT_EQ(Flat("libdefaults", {{"default_realm", "EXAMPLE.TEST"}}),
              "[libdefaults]\ndefault_realm = EXAMPLE.TEST\n\n");
    // Repeated tags keep their order; values with blanks and commas, and bytes above 127, go out verbatim.
    EXPECT_EQ(Flat("s", {{"kdc", "b"}, {"kdc", "a"}, {"list", " x,  y , "}, {"n", "\xe9t\xe9"}}),
              "[s]\nkdc = b\nkdc = a\nlist =  x,  y , \nn = \xe9t\xe9\n\n");
}

TEST(ConfigTextWriter, EmptyListsGiveHeaderAndOneEmptyLine)
{
    EXPECT_EQ(Flat("libdefaults", {}), "[libdefaults]\n\n");
    EXPECT_EQ(Nested("realms", {}), "[realms]\n\n");
    EXPECT_EQ(Nested("realms", {{"A.TEST", {}}}), "[realms]\nA.TEST = {\n}\n\n");
}

TEST(ConfigTextWriter, NestedSubsectionsFollowEachOtherWithoutEmptyLines)
{
    EXPECT_EQ(Nested("realms", {{"A.TEST", {{"kdc", "a1"}}}, {"B.TEST", {{"kdc", "b1"}, {"kdc", "b2"}}}}),
              "[realms]\n"
              "A.TEST = {\n    kdc = a1\n}\n"
              "B.TEST = {\n    kdc = b1\n    kdc = b2\n}\n"
              "\n");
}

TEST(ConfigTextWriter, CommentsAreWholeLinesInColumnZero)
{
    EXPECT_EQ(Flat("s", {{"; note", "ignored"}, {"a", "1"}}), "[s]\n; note\na = 1\n\n");
    EXPECT_EQ(Nested("s", {{"R", {{"a", "1"}, {";x", "ignored"}}}}), "[s]\nR = {\n    a = 1\n;x\n}\n\n");
    // A commented subsection loses its braces and its relations.
    EXPECT_EQ(Nested("s", {{"; R", {{"a", "1"}}}, {"S", {}}}), "[s]\n; R\nS = {\n}\n\n");
    // Only a leading ";" makes a comment.
    EXPECT_EQ(Flat("s", {{"a;", "1"}}), "[s]\na; = 1\n\n");
}

TEST(ConfigTextWriter, EmptyTagsNamesAndValuesAreWrittenAsGiven)
{
    EXPECT_EQ(Flat("s", {{"", "v"}, {"t", ""}}), "[s]\n = v\nt = \n\n");
    EXPECT_EQ(Nested("s", {{"", {{"t", ""}}}}), "[s]\n = {\n    t = \n}\n\n");
}

TEST(ConfigTextWriter, SectionsAppendInCallOrderSeparatedByOneEmptyLine)
{
    std::ostringstream out;
    out << "prior\n";
    const ConfigTextWriter writer{out};
    writer.WriteSection("libdefaults", {{"forwardable", "true"}});
    writer.WriteNestedSection("realms", {{"A", {}}});
    EXPECT_EQ(out.str(), "prior\n[libdefaults]\nforwardable = true\n\n[realms]\nA = {\n}\n\n");
}

TEST(ConfigTextWriter, EveryLineIsFlushedToTheStream)
{
    const std::string path = testing::TempDir() + "writer_flush_test.conf";
    std::ofstream file(path, std::ios::binary);
    ASSERT_TRUE(file);
    ConfigTextWriter{file}.WriteNestedSection("realms", {{"A", {{"kdc", "h"}}}});
    // Still open: only flushed text is in the file.
    std::ifstream in(path, std::ios::binary);
    const std::string seen((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(seen, "[realms]\nA = {\n    kdc = h\n}\n\n");
    file.close();
    std::remove(path.c_str());
}

// The configuration shape check: it must take every text the generator writes for good names,
// and refuse each way a hostile name could break a line or slip in an entry.
#include "config_lines.h"
#include "sample_configurations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ConfigLines, TakeWhatTheGeneratorWritesAndTellWhereEachLineStands)
{
    std::vector<ConfigLine> lines;
    std::string error;
    ASSERT_TRUE(ParseConfigLines(kThreeRealmsText, lines, error)) << error;
    ASSERT_EQ(lines.size(), 27u);
    EXPECT_EQ(lines[0].kind, ConfigLineKind::SectionHeader);
    EXPECT_EQ(lines[0].section, "libdefaults");
    EXPECT_EQ(lines[2].kind, ConfigLineKind::Relation);
    EXPECT_EQ(lines[2].tag, "default_tgs_enctypes");
    EXPECT_EQ(lines[2].value, "aes256-cts-hmac-sha1-96 rc4-hmac");
    EXPECT_EQ(lines[2].subsection, "");
    EXPECT_EQ(lines[6].kind, ConfigLineKind::SubsectionOpening);
    EXPECT_EQ(lines[6].subsection, "LAB.ASHGROVE.TEST");
    EXPECT_EQ(lines[7].section, "realms");
    EXPECT_EQ(lines[7].subsection, "LAB.ASHGROVE.TEST");
    EXPECT_EQ(lines[7].value, "kdc1.lab.ashgrove.test");
    EXPECT_EQ(lines[10].kind, ConfigLineKind::SubsectionClosing);
    EXPECT_EQ(lines[21].section, "capaths");
    EXPECT_EQ(lines[21].tag, "LAB.ASHGROVE.TEST");
    EXPECT_EQ(lines[21].value, "CORP.RIVERTON.TEST");
    EXPECT_EQ(lines[26].kind, ConfigLineKind::Empty);

    // A realm without KDCs gets a subsection with nothing in it.
    ASSERT_TRUE(ParseConfigLines("[realms]\nA = {\n}\n\n", lines, error)) << error;
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2].kind, ConfigLineKind::SubsectionClosing);

    EXPECT_TRUE(ParseConfigLines("", lines, error)) << error;
    EXPECT_TRUE(lines.empty());
}

TEST(ConfigLines, RefuseEveryBrokenOrSmuggledLine)
{
    const std::vector<std::string> broken = {
        "[realms]\nA = {\n    kdc = dc1\nx\n    kdc = dc2\n}\n",  // a name cut by LF
        "[realms]\nA = {\n    kdc = dc1\r\n}\n",                  // CR before the LF
        "[realms]\nA\tB = {\n}\n",                                 // tab
        "[realms]\nA\x01 = {\n}\n",                                // other control byte
        "[realms]\nA\x7f = {\n}\n",                                // DEL
        "[realms]\nA = {\n    kdc = \n}\n",                        // empty value
        "[realms]\nA = {\n     = dc1\n}\n",                        // empty tag
        "[realms]\nA B = {\n}\n",                                  // blank in a name
        "[realms]\nA=B = {\n}\n",                                  // "=" in a name
        "[realms]\nA = {\n    kdc = dc1 = x\n}\n",                 // "=" in a value
        "[realms]\nA = {\n    kdc = dc1}\n}\n",                    // brace in a value
        "[realms]\nA = {\n    kdc = {\n}\n}\n",                    // a nested opening
        "[realms]\nA = {\n    kdc = dc1;x\n}\n",                   // comment character
        "[realms]\nA = {\n    kdc = dc1#x\n}\n",
        "[realms]\nA = {\n    kdc = \"dc1\"\n}\n",                 // quotes
        "[realms]\nA = {\n    kdc = dc1  dc2\n}\n",                // double blank
        "[realms]\nA = {\n    kdc = dc1 \n}\n",                    // trailing blank
        "[realms]\nA = {\nkdc = dc1\n}\n",                         // missing indent
        "[libdefaults]\n    forwardable = true\n",                 // indent outside a subsection
        "[realms]\nA = {\n\n}\n",                                  // empty line inside
        "[realms]\nA = {\n[capaths]\n}\n",                         // header inside
        "[realms]\n}\n",                                           // closing without opening
        "[realms]\nA = {\n",                                       // never closed
        "forwardable = true\n",                                    // before any section
        "[]\n",                                                    // empty section name
        "[re alms]\n",
        "[realms]x\n",
        "[realms]\nA = {\n}",                                      // no last LF
        "[realms]\nkdc\n",                                         // no " = "
        "[realms]\nCORP.EXAMPLE*X = {\n}\n",                       // MIT's final marker cuts it
        "[realms]\nCORP.EXAMPLE* = {\n}\n",
        "[capaths]\nA = {\n    B* = C\n}\n",
    };
    for (const std::string& text : broken) {
        std::vector<ConfigLine> lines;
        std::string error;
        EXPECT_FALSE(ParseConfigLines(text, lines, error)) << text;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST(ConfigLines, ATokenHasNoLengthLimitOfItsOwn)
{
    EXPECT_TRUE(IsConfigToken("dc1.corp.test"));
    EXPECT_TRUE(IsConfigToken("\xc3\xa9t\xe9.test"));
    EXPECT_TRUE(IsConfigToken(std::string(300, 'a')));  // length is discovery's rule, not the syntax's
    EXPECT_FALSE(IsConfigToken(""));
}

TEST(ConfigLines, NameTheLineAndShowItsHiddenBytes)
{
    std::vector<ConfigLine> lines;
    std::string error;
    ASSERT_FALSE(ParseConfigLines("[realms]\nA\r = {\n}\n", lines, error));
    EXPECT_EQ(error, "line 2 \"A\\x0d = {\": the tag is not one token");
}

}  // namespace

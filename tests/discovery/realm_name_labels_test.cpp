// Realm names read as DNS trees.
#include "realm_name_labels.h"

#include "code_page_932.h"

#include <gtest/gtest.h>

TEST(RealmNames, LastTwoLabels)
{
    EXPECT_EQ(LastTwoLabels("a.b.example.org"), "example.org");
    EXPECT_EQ(LastTwoLabels("example.org"), "example.org");
    EXPECT_EQ(LastTwoLabels("org"), "org");
    EXPECT_EQ(LastTwoLabels(".org"), ".org");
    EXPECT_EQ(LastTwoLabels("a..org"), ".org");
    EXPECT_EQ(LastTwoLabels("example.org."), "org.");
    EXPECT_EQ(LastTwoLabels(""), "");
}

TEST(RealmNames, ATrailByteEndsNoLabel)
{
    const CodePage932 codePage;
    EXPECT_EQ(LastTwoLabels("a.b\x81.c"), "a.b\x81.c");
    EXPECT_EQ(LabelSuffixes("x\x81.y.z"), (std::vector<std::string>{"x\x81.y.z", "z"}));
}

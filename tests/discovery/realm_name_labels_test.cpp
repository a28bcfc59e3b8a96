// Realm names read as DNS trees.
#include "realm_name_labels.h"

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

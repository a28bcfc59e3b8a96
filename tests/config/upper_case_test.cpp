// Realm names in the upper case of the configuration text.
#include "upper_case.h"

#include <gtest/gtest.h>

TEST(RealmNames, ToUpperCopyChangesOnlyAsciiLetters)
{
    EXPECT_EQ(ToUpperCopy("corp.Example-1.org"), "CORP.EXAMPLE-1.ORG");
    EXPECT_EQ(ToUpperCopy("\xe9t\xe9.test"), "\xe9T\xe9.TEST");
    EXPECT_EQ(ToUpperCopy("`az{@AZ["), "`AZ{@AZ[");
    EXPECT_EQ(ToUpperCopy(""), "");
}

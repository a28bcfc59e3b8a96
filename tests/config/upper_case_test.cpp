// Realm names in the upper case of the configuration text.
#include "upper_case.h"

#include "code_page_932.h"

#include <gtest/gtest.h>

TEST(RealmNames, ToUpperCopyChangesOnlyAsciiLetters)
{
    EXPECT_EQ(ToUpperCopy("corp.Example-1.org"), "CORP.EXAMPLE-1.ORG");
    EXPECT_EQ(ToUpperCopy("\xe9t\xe9.test"), "\xe9T\xe9.TEST");
    EXPECT_EQ(ToUpperCopy("`az{@AZ["), "`AZ{@AZ[");
    EXPECT_EQ(ToUpperCopy(""), "");
}

TEST(RealmNames, ToUpperCopyLeavesTrailBytesInCodePage932)
{
    EXPECT_EQ(ToUpperCopy("\x8b\x63.corp"), "\x8b\x43.CORP");
    const CodePage932 codePage;
    EXPECT_EQ(ToUpperCopy("\x8b\x63.corp"), "\x8b\x63.CORP") << "議 stays 議, not 気";
}

// The realm name order: labels from the right, case folded, marks skipped.
#include "realm_order.h"

#include "code_page_932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

TEST(CompareRealmTexts, SortsADomainDirectlyBeforeItsSubDomains)
{
    const std::vector<std::string> ordered{"example.com",      "a.example.com", "x.a.example.com",
                                           "b.example.com",    "corp.example.net", "example.org"};
    std::vector<std::string> names(ordered.rbegin(), ordered.rend());
    std::swap(names[1], names[4]);
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return CompareRealmTexts(a, b) < 0; });
    EXPECT_EQ(names, ordered);
}

TEST(CompareRealmTexts, IgnoresLetterCaseAndEmptyLabels)
{
    EXPECT_EQ(CompareRealmTexts("EXAMPLE.COM", "example.com"), 0);
    EXPECT_EQ(CompareRealmTexts("a..example.com", "a.example.com"), 0);
    EXPECT_EQ(CompareRealmTexts(".a.example.com.", "a.example.com"), 0);
    EXPECT_EQ(CompareRealmTexts("", "..."), 0);
    // A text ends at its first NUL, as the list's C strings do.
    EXPECT_EQ(CompareRealmTexts(std::string("b.com\0a.org", 11), "b.com"), 0);
}

TEST(CompareRealmTexts, FewerLabelsAndShorterLabelsSortFirst)
{
    EXPECT_LT(CompareRealmTexts("example.com", "a.example.com"), 0);
    EXPECT_GT(CompareRealmTexts("a.example.com", "example.com"), 0);
    EXPECT_LT(CompareRealmTexts("", "com"), 0);
    // A label that is a prefix of the other sorts first.
    EXPECT_LT(CompareRealmTexts("ab.com", "abc.com"), 0);
    EXPECT_GT(CompareRealmTexts("abc.com", "AB.com"), 0);
}

TEST(CompareRealmTexts, FoldsOnlyAsciiLettersBeforeComparingUnsignedBytes)
{
    // Folded to lower case, letters come after '_', digits and '-'; unfolded 'B' would come first.
    EXPECT_LT(CompareRealmTexts("a_b.com", "AB.com"), 0);
    EXPECT_LT(CompareRealmTexts("A9.com", "aa.com"), 0);
    EXPECT_LT(CompareRealmTexts("a-z.com", "AZ.com"), 0);
    // '[' (0x5B) lies between 'Z' and 'a': it sorts before the folded 'z'.
    EXPECT_LT(CompareRealmTexts("a[.com", "aZ.com"), 0);
    // Bytes above 127 are unsigned, so after every ASCII letter, and are not folded.
    EXPECT_GT(CompareRealmTexts("\xe9.com", "z.com"), 0);
    EXPECT_NE(CompareRealmTexts("\xc9.com", "\xe9.com"), 0);
    // The result is the difference of the first differing bytes after folding.
    EXPECT_EQ(CompareRealmTexts("b.com", "D.com"), 'b' - 'd');
}

// In code page 932 the trail byte of 気 (8B 43) is no "C": 議 (8B 63) sorts after it.
TEST(CompareRealmTexts, FoldsNoTrailByteOfADoubleByteCharacter)
{
    EXPECT_EQ(CompareRealmTexts("\x8b\x43.com", "\x8b\x63.com"), 0) << "code page 1252: two letters";
    const CodePage932 codePage;
    EXPECT_EQ(CompareRealmTexts("\x8b\x43.com", "\x8b\x63.com"), 0x43 - 0x63);
    EXPECT_EQ(CompareRealmTexts("\x8b\x43" "C.com", "\x8b\x43" "c.com"), 0) << "the letter after the character folds";
}

TEST(CompareRealmTexts, SelectedItemsSortByRealmNameWhateverTheirMarks)
{
    EXPECT_GT(CompareRealmTexts("d-- b.example.com", "--- a.example.com"), 0);
    EXPECT_LT(CompareRealmTexts("--- example.com", "dsc a.example.com"), 0);
    EXPECT_EQ(CompareRealmTexts("dsc example.com", "--- EXAMPLE.com"), 0);
}

TEST(CompareRealmTexts, OnlyTheFirstTextDecidesWhetherThePrefixIsSkipped)
{
    // The first text has no blank at index 3: both are compared whole, so "a" meets "--- b".
    EXPECT_GT(CompareRealmTexts("a.example.com", "--- b.example.com"), 0);
    // A first text of exactly four characters is compared whole, prefix included: from index 4
    // on it would be empty and sort first.
    EXPECT_GT(CompareRealmTexts("x.z ", "abc.a"), 0);
    // A second text shorter than the prefix leaves no name to compare with.
    EXPECT_GT(CompareRealmTexts("--- a", "ab"), 0);
}

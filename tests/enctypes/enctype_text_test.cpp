// Splitting enctype lists and the bounded joining of ticked names.
#include "enctype_buffer.h"
#include "enctype_names.h"
#include "enctype_tokens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// A buffer of `capacity` bytes followed by guard bytes that nothing may touch.
struct GuardedBuffer {
    explicit GuardedBuffer(std::size_t capacity) : bytes(capacity + kGuard, '#'), buffer{&bytes[0], capacity} {}
    bool GuardIntact() const { return bytes.substr(buffer.capacity) == std::string(kGuard, '#'); }
    std::string Text() const { return std::string(buffer.text); }
    static constexpr std::size_t kGuard = 16;
    std::string bytes;
    EncTypeBuffer buffer;
};

std::string JoinDisplayed(const Names& names, std::size_t capacity)
{
    GuardedBuffer out(capacity);
    ClearEncTypeText(out.buffer);
    for (const std::string& name : names)
        AppendEncTypeName(out.buffer, name.c_str());
    EXPECT_TRUE(out.GuardIntact());
    return out.Text();
}

Names DisplayedOrder()
{
    Names names;
    for (int i = kEncTypeCount - 1; i >= 0; --i)
        names.emplace_back(kEncTypeNames[i]);
    return names;
}

}  // namespace

TEST(SplitEncTypeList, AnyRunOfCommasAndBlanksSeparatesAndEndsAreIgnored)
{
    const Names ab{"a", "b"};
    EXPECT_EQ(SplitEncTypeList("a, b"), ab);
    EXPECT_EQ(SplitEncTypeList("a,b"), ab);
    EXPECT_EQ(SplitEncTypeList("a b"), ab);
    EXPECT_EQ(SplitEncTypeList(" ,, a , ,b ,"), ab);
    EXPECT_EQ(SplitEncTypeList(""), Names{});
    EXPECT_EQ(SplitEncTypeList(" , ,"), Names{});
}

TEST(SplitEncTypeList, OnlyCommaAndBlankAreDelimitersAndCaseIsKept)
{
    // Tabs, semicolons and line ends stay inside a name, which then matches nothing.
    EXPECT_EQ(SplitEncTypeList("a\tb;c\r\nd, RC4-HMAC"), (Names{"a\tb;c\r\nd", "RC4-HMAC"}));
    EXPECT_EQ(SplitEncTypeList("x, x ,x"), (Names{"x", "x", "x"}));
}

TEST(SplitEncTypeList, ReadsNoFurtherThanTheLengthOrTheFirstNul)
{
    const char unterminated[5] = {'a', ',', 'b', 'c', 'd'};
    EXPECT_EQ(SplitEncTypeList(unterminated, 3), (Names{"a", "b"}));
    EXPECT_EQ(SplitEncTypeList(unterminated, sizeof unterminated), (Names{"a", "bcd"}));
    const char early[] = "a, b\0c, d";
    EXPECT_EQ(SplitEncTypeList(early, sizeof early), (Names{"a", "b"}));
    EXPECT_EQ(SplitEncTypeList(nullptr, 10), Names{});
}

TEST(AppendEncTypeName, JoinsWithCommaBlankAndAllEightMake142Characters)
{
    EXPECT_EQ(JoinDisplayed({}, kEncTypeTextCapacity), "");
    EXPECT_EQ(JoinDisplayed({"des-cbc-md5"}, kEncTypeTextCapacity), "des-cbc-md5");
    std::string all = JoinDisplayed(DisplayedOrder(), kEncTypeTextCapacity);
    EXPECT_EQ(all,
              "aes128-cts-hmac-sha1-96, aes256-cts-hmac-sha1-96, arcfour-hmac-md5, arcfour-hmac-md5-exp, "
              "des-cbc-crc, des-cbc-md5, des3-cbc-sha1-kd, rc4-hmac");
    EXPECT_EQ(all.size(), 142u);
    EXPECT_EQ(SplitEncTypeList(all), DisplayedOrder());
}

TEST(AppendEncTypeName, NeverWritesPastTheCapacityAndCutsTheLastPieceShort)
{
    // 26 names of 9 characters: 26 × 9 + 25 × 2 = 284 characters wanted, 199 kept.
    Names many(26, "abcdefghi");
    std::string text = JoinDisplayed(many, kEncTypeTextCapacity);
    EXPECT_EQ(text.size(), kEncTypeTextCapacity - 1);
    EXPECT_EQ(text.substr(0, 22), "abcdefghi, abcdefghi, ");
    // 18 names and their 17 separators take 196 bytes; one more separator fits, then one letter.
    EXPECT_EQ(text.substr(text.size() - 5), "hi, a");

    EXPECT_EQ(JoinDisplayed({"abcdef", "gh"}, 8), "abcdef,");
    EXPECT_EQ(JoinDisplayed({"abcdef", "gh"}, 10), "abcdef, g");
    EXPECT_EQ(JoinDisplayed({"abcdef"}, 1), "");
}

TEST(AppendEncTypeName, DegenerateBuffersAreLeftAloneOrTerminated)
{
    GuardedBuffer empty(0);
    AppendEncTypeName(empty.buffer, "rc4-hmac");
    ClearEncTypeText(empty.buffer);
    EXPECT_TRUE(empty.GuardIntact());
    EXPECT_EQ(EncTypeTextLength(empty.buffer), 0u);

    // Without a NUL the buffer counts as full; an append only terminates it.
    GuardedBuffer full(6);
    full.bytes.replace(0, 6, "abcdef");
    EXPECT_EQ(EncTypeTextLength(full.buffer), 5u);
    AppendEncTypeName(full.buffer, "rc4-hmac");
    EXPECT_EQ(full.Text(), "abcde");
    EXPECT_TRUE(full.GuardIntact());

    EncTypeBuffer none{nullptr, 200};
    AppendEncTypeName(none, "rc4-hmac");
    ClearEncTypeText(none);
    EXPECT_EQ(EncTypeTextLength(none), 0u);
}

TEST(ClearEncTypeText, ZeroesTheWholeCapacityAndNothingBeyond)
{
    GuardedBuffer out(kEncTypeTextCapacity);
    ClearEncTypeText(out.buffer);
    EXPECT_EQ(out.bytes.substr(0, kEncTypeTextCapacity), std::string(kEncTypeTextCapacity, '\0'));
    EXPECT_TRUE(out.GuardIntact());
}

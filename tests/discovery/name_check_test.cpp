// Which names from the network can stand in krb5.conf, in what form, and which are one domain.
#include "name_check.h"

#include "code_page_932.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool Usable(const std::string& name)
{
    return UsableName(name).has_value();
}

}  // namespace

TEST(NameCheck, OrdinaryNamesAreUsableAsTheyAre)
{
    for (const char* name : {"corp.riverton.test", "CORP.Riverton.TEST", "a", "x-y_z.test", "dc01.a-b.test"})
        EXPECT_EQ(UsableName(name), std::optional<std::string>(name)) << name;
}

TEST(NameCheck, AbsoluteNamesLoseTheirOneTrailingDot)
{
    EXPECT_EQ(UsableName("dc1.corp.riverton.test."), std::optional<std::string>("dc1.corp.riverton.test"));
    EXPECT_EQ(UsableName("a."), std::optional<std::string>("a"));
    // Only one dot goes: what is left of "a.." ends in an empty label.
    EXPECT_FALSE(Usable("a.."));
    EXPECT_FALSE(Usable("."));
    EXPECT_FALSE(Usable(".."));
}

TEST(NameCheck, EveryLabelHoldsSomething)
{
    for (const char* name : {".a", "a..b", ".corp.test", "corp..test", "a.b..", "..a"})
        EXPECT_FALSE(Usable(name)) << name;
}

TEST(NameCheck, BytesAbove127StayAllowed)
{
    EXPECT_EQ(UsableName("\xc3\xa9quipe.test"), std::optional<std::string>("\xc3\xa9quipe.test"));
    EXPECT_EQ(UsableName("caf\xe9.test"), std::optional<std::string>("caf\xe9.test"));
    EXPECT_TRUE(Usable("\x80\xff"));
}

TEST(NameCheck, LengthLimitIs255BytesWithoutTheTrailingDot)
{
    EXPECT_FALSE(Usable(""));
    EXPECT_TRUE(Usable(std::string(255, 'a')));
    EXPECT_FALSE(Usable(std::string(256, 'a')));
    EXPECT_EQ(UsableName(std::string(255, 'a') + "."), std::optional<std::string>(std::string(255, 'a')));
    EXPECT_FALSE(Usable(std::string(256, 'a') + "."));
}

TEST(NameCheck, ControlBytesBlankAndDeleteAreRefused)
{
    for (int byte = 0; byte <= 0x20; ++byte) {
        const std::string name = std::string("a") + static_cast<char>(byte) + "b.test";
        EXPECT_FALSE(Usable(name)) << "byte " << byte;
    }
    EXPECT_FALSE(Usable("a\x7f" "b.test"));
    EXPECT_FALSE(Usable("corp.test\r\n"));
    EXPECT_FALSE(Usable("corp.test.\n"));
    EXPECT_FALSE(Usable(" corp.test"));
}

// Only letters, digits, "-", "_", "." and bytes above 127 may stand in a name: every other ASCII
// byte is refused, the configuration syntax and MIT's "final" marker "*" among them.
TEST(NameCheck, EveryOtherAsciiByteIsRefused)
{
    const std::string allowed = "-_.";
    for (int byte = 0x21; byte < 0x7F; ++byte) {
        const char c = static_cast<char>(byte);
        const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (letterOrDigit || allowed.find(c) != std::string::npos)
            continue;
        EXPECT_FALSE(Usable(std::string("corp") + c + "x.test")) << "character " << c;
        EXPECT_FALSE(Usable(std::string("corp.test") + c)) << "character " << c;
    }
    for (const char* name : {"corp.example*x", "corp.example*", "a\\b.test", "a,b.test", "o'brien.test", "a/b.test",
                             "a:88.test", "x=y", "{open.test", "hash#.test"})
        EXPECT_FALSE(Usable(name)) << name;
}

TEST(NameCheck, FoldingLowersAsciiLettersOnly)
{
    EXPECT_EQ(FoldedDomainName("Corp.RIVERTON.test"), "corp.riverton.test");
    EXPECT_EQ(FoldedDomainName("M\xdcNSTER.Test"), "m\xdcnster.test");  // "Ü" in code page 1252 stays
    EXPECT_EQ(FoldedDomainName("A-Z_09.@["), "a-z_09.@[");
    EXPECT_EQ(FoldedDomainName("corp.test."), "corp.test.") << "no dot is dropped";
}

// In code page 932 a trail byte belongs to its character: 気 (8B 43) and 議 (8B 63) stay two
// domains, and 表, ソ and 予, whose trail byte is "\\", may stand. Code page 1252 as ever.
TEST(NameCheck, TrailBytesGoWithTheirDoubleByteCharacters)
{
    EXPECT_EQ(FoldedDomainName("\x8b\x43.CORP"), "\x8b\x63.corp");
    EXPECT_FALSE(Usable("\x95\\.corp.test"));
    const CodePage932 codePage;
    EXPECT_EQ(FoldedDomainName("\x8b\x43.CORP"), "\x8b\x43.corp");
    for (const char* name : {"\x95\\.corp.test", "\x83\\.test", "corp.\x97\\", "\x8b\x63\x8b\x43"})
        EXPECT_EQ(UsableName(name), std::optional<std::string>(name)) << name;
    // A dot after a lead byte is its trail byte: it ends no label, and no absolute name.
    EXPECT_EQ(UsableName("a\x81."), std::optional<std::string>("a\x81."));
    EXPECT_EQ(UsableName("a\x81.."), std::optional<std::string>("a\x81."));
    EXPECT_FALSE(Usable(std::string("a\x81\0b", 4))) << "NUL is no trail byte";
    EXPECT_TRUE(Usable("corp\x81")) << "a lead byte that ends the name stands as any byte above 127";
}

// Which names from the network can stand as one token in krb5.conf.
#include "name_check.h"

#include <gtest/gtest.h>

#include <string>

TEST(NameCheck, OrdinaryNamesAreUsable)
{
    EXPECT_TRUE(IsUsableName("corp.riverton.test"));
    EXPECT_TRUE(IsUsableName("CORP.Riverton.TEST"));
    EXPECT_TRUE(IsUsableName("dc1.corp.riverton.test."));  // a trailing dot stays as it is
    EXPECT_TRUE(IsUsableName("a"));
    EXPECT_TRUE(IsUsableName("x-y_z.test"));
    EXPECT_TRUE(IsUsableName("."));  // a usable token; LookupKdcs drops the RFC 2782 "." itself
}

TEST(NameCheck, BytesAbove127StayAllowed)
{
    EXPECT_TRUE(IsUsableName("\xc3\xa9quipe.test"));
    EXPECT_TRUE(IsUsableName("\x80\xff"));
}

TEST(NameCheck, LengthLimitIs255Bytes)
{
    EXPECT_FALSE(IsUsableName(""));
    EXPECT_TRUE(IsUsableName(std::string(255, 'a')));
    EXPECT_FALSE(IsUsableName(std::string(256, 'a')));
}

TEST(NameCheck, ControlBytesBlankAndDeleteAreRefused)
{
    for (int byte = 0; byte <= 0x20; ++byte) {
        const std::string name = std::string("a") + static_cast<char>(byte) + "b.test";
        EXPECT_FALSE(IsUsableName(name)) << "byte " << byte;
    }
    EXPECT_FALSE(IsUsableName("a\x7f" "b.test"));
    EXPECT_FALSE(IsUsableName("corp.test\r\n"));
    EXPECT_FALSE(IsUsableName(" corp.test"));
    EXPECT_TRUE(IsUsableName("a\x21" "b.test"));  // "!" is the first allowed byte
}

TEST(NameCheck, ConfigurationSyntaxCharactersAreRefused)
{
    for (const char c : std::string("={}[];#\"")) {
        const std::string name = std::string("corp") + c + "test";
        EXPECT_FALSE(IsUsableName(name)) << "character " << c;
        EXPECT_FALSE(IsUsableName(std::string(1, c))) << "character " << c;
    }
}

TEST(NameCheck, ATokenHasNoLengthLimitOfItsOwn)
{
    EXPECT_TRUE(IsConfigToken("dc1.corp.test"));
    EXPECT_TRUE(IsConfigToken("\xc3\xa9t\xe9.test"));
    EXPECT_TRUE(IsConfigToken(std::string(300, 'a')));  // length is discovery's rule, not the syntax's
    EXPECT_FALSE(IsConfigToken(""));
}

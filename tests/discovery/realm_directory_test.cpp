// The realm directory's ordering and insertion rules.
#include "realm_directory.h"

#include <gtest/gtest.h>

TEST(RealmDirectory, FirstSuccessfulLookupWinsAndEmptyListsAreNotEntered)
{
    KdcTable kdcs;
    AddRealm(kdcs, "corp.test", {"dc1"});
    AddRealm(kdcs, "corp.test", {"dc2", "dc3"});
    AddRealm(kdcs, "empty.test", {});
    ASSERT_EQ(kdcs.size(), 1u);
    EXPECT_EQ(kdcs.at("corp.test"), std::vector<std::string>{"dc1"});
}

TEST(RealmDirectory, KeysAreByteOrderedAndCaseSensitive)
{
    KdcTable kdcs;
    AddRealm(kdcs, "b.test", {"h"});
    AddRealm(kdcs, "B.test", {"h"});
    AddRealm(kdcs, "\xc3\xa9.test", {"h"});
    AddRealm(kdcs, "b", {"h"});
    std::vector<std::string> keys;
    for (const auto& entry : kdcs)
        keys.push_back(entry.first);
    // Bytes above 127 sort after ASCII; a prefix sorts first.
    EXPECT_EQ(keys, (std::vector<std::string>{"B.test", "b", "b.test", "\xc3\xa9.test"}));
}

TEST(RealmDirectory, TrustsKeepDuplicatesAndInsertionOrderAmongEqualKeys)
{
    TrustTable trusts;
    AddTrust(trusts, "a", "z");
    AddTrust(trusts, "b", "x");
    AddTrust(trusts, "a", "y");
    AddTrust(trusts, "a", "z");
    std::vector<std::string> trusted;
    auto range = trusts.equal_range("a");
    for (auto it = range.first; it != range.second; ++it)
        trusted.push_back(it->second);
    EXPECT_EQ(trusted, (std::vector<std::string>{"z", "y", "z"}));
}

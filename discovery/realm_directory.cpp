// The realm directory's storage and its two insertions.
#include "realm_directory.h"

RealmDirectory& TheRealmDirectory()
{
    static RealmDirectory directory;
    return directory;
}

void AddRealm(KdcTable& kdcTable, const std::string& realm, const std::vector<std::string>& kdcs)
{
    if (!kdcs.empty())
        kdcTable.emplace(realm, kdcs);
}

void AddTrust(TrustTable& trustTable, const std::string& trusting, const std::string& trusted)
{
    // multimap::emplace inserts at the upper bound of equal keys.
    trustTable.emplace(trusting, trusted);
}

// The process-wide record of what the discovery found: realms with their KDCs, and direct trusts.
#ifndef QUILLMERE_REALM_DIRECTORY_H
#define QUILLMERE_REALM_DIRECTORY_H

#include <map>
#include <string>
#include <vector>

// std::string orders by char_traits<char>, which compares as unsigned bytes:
// exactly the byte-wise, case-sensitive order realm names need.
using KdcTable = std::map<std::string, std::vector<std::string>>;
// Trusting realm -> trusted realm; equal keys keep their insertion order.
using TrustTable = std::multimap<std::string, std::string>;

struct RealmDirectory {
    KdcTable kdcTable;
    TrustTable trustTable;
};

// Filled once by the discovery run, read-only afterwards.
RealmDirectory& TheRealmDirectory();

// Insert-if-absent: the first successful lookup of a realm wins. An empty list is not entered.
void AddRealm(KdcTable& kdcTable, const std::string& realm, const std::vector<std::string>& kdcs);
// Always adds, after every entry with the same trusting realm.
void AddTrust(TrustTable& trustTable, const std::string& trusting, const std::string& trusted);

#endif

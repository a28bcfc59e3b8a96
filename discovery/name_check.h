// The check that a name from the network can stand as one token in krb5.conf.
#ifndef QUILLMERE_NAME_CHECK_H
#define QUILLMERE_NAME_CHECK_H

#include <string>

constexpr std::size_t kMaxNameLength = 255;

// Domain names (DomainName, DnsDomainName) and SRV targets are untrusted input that ends up in
// the configuration text. A usable name is 1 to 255 bytes long and holds no byte at or below
// 0x20, no 0x7F and none of = { } [ ] ; # ". Bytes above 127 are allowed.
bool IsUsableName(const std::string& name);

#endif

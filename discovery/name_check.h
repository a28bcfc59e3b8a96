// The check that a name from the network can stand as one token in krb5.conf.
#ifndef QUILLMERE_NAME_CHECK_H
#define QUILLMERE_NAME_CHECK_H

#include <string>

constexpr std::size_t kMaxNameLength = 255;

// A byte sequence that a krb5.conf reader takes as one word and nothing more: non-empty, no byte
// at or below 0x20, no 0x7F, none of = { } [ ] ; # ". Bytes above 127 are allowed.
bool IsConfigToken(const std::string& text);

// Domain names (DomainName, DnsDomainName) and SRV targets are untrusted input that ends up in
// the configuration text. A usable name is a token of at most 255 bytes.
bool IsUsableName(const std::string& name);

#endif

// The rules for domain names from the network: what may stand in krb5.conf, and which are one domain.
#ifndef QUILLMERE_NAME_CHECK_H
#define QUILLMERE_NAME_CHECK_H

#include <optional>
#include <string>

// Domain names (DomainName, DnsDomainName) and SRV targets are untrusted input that ends up in
// the configuration text. The name as the discovery takes it: an absolute name's one trailing
// dot dropped first ("corp.example." is corp.example). Absent when what is left is unusable:
// empty, longer than 255 bytes, with an empty label, or holding a character other than an ASCII
// letter or digit, "-", "_", "." and those that begin with a byte above 127, a double-byte
// character's trail byte included (lead_bytes.h). Everything else is refused, since krb5.conf
// readers give meaning to more bytes than any list of them would hold (MIT takes a "*" at the
// end of a name for its "final" marker).
std::optional<std::string> UsableName(const std::string& received);

// A domain name as DNS compares names: "A" to "Z" made lower case, every other byte kept, the
// trail bytes of double-byte characters too. Two names are the same domain when their folded
// names are equal.
std::string FoldedDomainName(const std::string& name);

#endif

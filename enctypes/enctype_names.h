// The eight encryption type names that the chooser offers, in table order.
#ifndef QUILLMERE_ENCTYPE_NAMES_H
#define QUILLMERE_ENCTYPE_NAMES_H

#include <string>

constexpr int kEncTypeCount = 8;

// The chooser lists these bottom-up: index 7 is shown first, index 0 last.
extern const char* const kEncTypeNames[kEncTypeCount];

// Whether Heimdal's parser (krb5_string_to_enctype, Heimdal 7.8) knows the name: it knows neither
// des3-cbc-sha1-kd (its own name is des3-cbc-sha1) nor arcfour-hmac-md5-exp.
bool HeimdalKnowsEncType(const std::string& name);

#endif

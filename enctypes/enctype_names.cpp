// The encryption type name table.
#include "enctype_names.h"

const char* const kEncTypeNames[kEncTypeCount] = {
    "rc4-hmac",
    "des3-cbc-sha1-kd",
    "des-cbc-md5",
    "des-cbc-crc",
    "arcfour-hmac-md5-exp",
    "arcfour-hmac-md5",
    "aes256-cts-hmac-sha1-96",
    "aes128-cts-hmac-sha1-96",
};

bool HeimdalKnowsEncType(const std::string& name)
{
    for (const char* known : kEncTypeNames)
        if (name == known)
            return name != "des3-cbc-sha1-kd" && name != "arcfour-hmac-md5-exp";
    return false;
}

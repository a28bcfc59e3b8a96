// Prints the facts MIT krb5's profile library reads from a krb5.conf file, in write_peer_samples' form.
#include "list_words.h"

#include <profile.h>

#include <iostream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Take(char** list)
{
    std::vector<std::string> items;
    for (char** item = list; item != nullptr && *item != nullptr; ++item)
        items.push_back(*item);
    profile_free_list(list);
    return items;
}

std::vector<std::string> Names(profile_t profile, std::vector<const char*> path, bool subsections)
{
    path.push_back(nullptr);
    char** list = nullptr;
    const long status = subsections ? profile_get_subsection_names(profile, path.data(), &list)
                                    : profile_get_relation_names(profile, path.data(), &list);
    return status == 0 ? Take(list) : std::vector<std::string>();
}

std::vector<std::string> Values(profile_t profile, std::vector<const char*> path)
{
    path.push_back(nullptr);
    char** list = nullptr;
    if (profile_get_values(profile, path.data(), &list) != 0)
        return {};
    return Take(list);
}

// Every relation under path, each value as the reader takes it; an empty value is flagged.
std::string Relations(profile_t profile, const std::vector<const char*>& path, bool* emptyValue)
{
    std::string text;
    for (const std::string& tag : Names(profile, path, false)) {
        std::vector<const char*> at = path;
        at.push_back(tag.c_str());
        text += " " + tag;
        for (const std::string& value : Values(profile, at)) {
            if (value.empty())
                *emptyValue = true;
            text += " " + value;
        }
    }
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: mit_profile_facts KRB5CONF\n";
        return 2;
    }
    const char* files[] = {argv[1], nullptr};
    profile_t profile = nullptr;
    // profile_init ignores files it cannot read; the strict form fails instead.
    const long status = profile_init_flags(files, PROFILE_INIT_ALLOW_MODULE, &profile);
    if (status != 0) {
        std::cerr << "MIT profile rejects " << argv[1] << ": error " << status << "\n";
        return 1;
    }
    bool emptyValue = false;
    for (const std::string& section : Names(profile, {}, true))
        std::cout << "section " << section << "\n";
    for (const std::string& tag : Names(profile, {"libdefaults"}, false)) {
        for (const std::string& value : Values(profile, {"libdefaults", tag.c_str()})) {
            emptyValue = emptyValue || value.empty();
            const bool list = tag == "default_tgs_enctypes" || tag == "default_tkt_enctypes" ||
                              tag == "default_tgs_etypes" || tag == "default_as_etypes";
            std::cout << "libdefaults " << tag << (list ? ListWords(value) : " " + value) << "\n";
        }
    }
    for (const std::string& realm : Names(profile, {"realms"}, true))
        std::cout << "realm " << realm << Relations(profile, {"realms", realm.c_str()}, &emptyValue) << "\n";
    for (const std::string& client : Names(profile, {"capaths"}, true))
        for (const std::string& service : Names(profile, {"capaths", client.c_str()}, false)) {
            std::cout << "capaths " << client << " " << service;
            for (const std::string& realm : Values(profile, {"capaths", client.c_str(), service.c_str()})) {
                emptyValue = emptyValue || realm.empty();
                std::cout << " " << realm;
            }
            std::cout << "\n";
        }
    for (const std::string& domain : Names(profile, {"domain_realm"}, false))
        for (const std::string& realm : Values(profile, {"domain_realm", domain.c_str()}))
            std::cout << "domain_realm " << domain << " " << realm << "\n";
    profile_release(profile);
    if (emptyValue)
        std::cout << "a relation with an empty value\n";
    return 0;
}

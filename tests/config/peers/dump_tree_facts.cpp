// Turns the tree Heimdal's verify_krb5_conf --dumpconfig prints into write_peer_samples' facts.
#include "list_words.h"

#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

std::string Trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Relations of one subsection: tags in first-seen order, each with its values in order.
struct Group {
    std::vector<std::string> tags;
    std::map<std::string, std::vector<std::string>> values;
};

void Add(Group& group, const std::string& tag, const std::string& value)
{
    if (group.values.count(tag) == 0)
        group.tags.push_back(tag);
    group.values[tag].push_back(value);
}

}  // namespace

int main()
{
    std::string section;
    std::vector<std::string> open;  // names of the subsections entered
    std::vector<std::pair<std::string, Group>> realms;
    std::vector<std::pair<std::string, Group>> capaths;
    std::string line;
    while (std::getline(std::cin, line)) {
        line = Trim(line);
        if (line.empty())
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            std::cout << "section " << section << "\n";
            continue;
        }
        if (line == "}") {
            if (!open.empty())
                open.pop_back();
            continue;
        }
        const std::size_t equals = line.find(" = ");
        const std::string tag = line.substr(0, equals);
        const std::string value = equals == std::string::npos ? std::string() : line.substr(equals + 3);
        if (value == "{") {
            open.push_back(tag);
            if (open.size() == 1 && section == "realms")
                realms.push_back({tag, {}});
            else if (open.size() == 1 && section == "capaths")
                capaths.push_back({tag, {}});
            else
                std::cout << "unexpected subsection " << section << "/" << tag << "\n";
            continue;
        }
        if (value.empty())
            std::cout << "a relation with an empty value: " << line << "\n";
        if (open.empty() && section == "libdefaults") {
            const bool list = tag == "default_tgs_enctypes" || tag == "default_tkt_enctypes" ||
                              tag == "default_tgs_etypes" || tag == "default_as_etypes";
            std::cout << "libdefaults " << tag << (list ? ListWords(value) : " " + value) << "\n";
        } else if (open.empty() && section == "domain_realm") {
            std::cout << "domain_realm " << tag << " " << value << "\n";
        } else if (open.size() == 1 && section == "realms") {
            Add(realms.back().second, tag, value);
        } else if (open.size() == 1 && section == "capaths") {
            Add(capaths.back().second, tag, value);
        } else {
            std::cout << "unexpected relation " << section << ": " << line << "\n";
        }
    }
    for (const auto& realm : realms) {
        std::cout << "realm " << realm.first;
        for (const std::string& tag : realm.second.tags) {
            std::cout << " " << tag;
            for (const std::string& value : realm.second.values.at(tag))
                std::cout << " " << value;
        }
        std::cout << "\n";
    }
    for (const auto& client : capaths)
        for (const std::string& service : client.second.tags) {
            std::cout << "capaths " << client.first << " " << service;
            for (const std::string& realm : client.second.values.at(service))
                std::cout << " " << realm;
            std::cout << "\n";
        }
    return 0;
}

// Generation of the three sections: library defaults, the selected realms' KDCs, capaths.
#include "config_generation.h"

#include "capaths_generation.h"
#include "control_texts.h"
#include "enctype_tokens.h"
#include "upper_case.h"

#include <cstddef>
#include <utility>

namespace {

const std::size_t kMaxKdcs = 3;

struct SelectedRealms {
    std::vector<std::string> all;
    std::string defaultRealm;
    std::vector<std::string> servers;
    std::vector<std::string> clients;
};

SelectedRealms ReadSelection(const std::vector<std::string>& items)
{
    SelectedRealms realms;
    for (const std::string& item : items) {
        // An item without a name cannot come from the panel; writing it would give " = {".
        if (item.size() <= kFlagPrefixLength)
            continue;
        const std::string name = item.substr(kFlagPrefixLength);
        realms.all.push_back(name);
        if (item[0] == 'd')
            realms.defaultRealm = name;
        if (item[1] == 's')
            realms.servers.push_back(name);
        if (item[2] == 'c')
            realms.clients.push_back(name);
    }
    return realms;
}

// The chooser joins names with ", ", which Java's parser reads as one name followed by
// names with a leading blank; blanks alone separate them for every reader.
std::string SpaceSeparatedNames(const std::string& text)
{
    std::string joined;
    for (const std::string& name : SplitEncTypeList(text))
        joined += (joined.empty() ? "" : " ") + name;
    return joined;
}

void AddIfNotEmpty(std::vector<Relation>& relations, const std::string& tag, const std::string& value)
{
    if (!value.empty())
        relations.push_back({tag, value});
}

std::vector<Relation> LibdefaultsRelations(const DialogState& state, const SelectedRealms& realms)
{
    std::string forwardable;
    if (state.forwardableTrue)
        forwardable = "true";
    if (state.forwardableFalse)
        forwardable = "false";
    std::vector<Relation> relations;
    AddIfNotEmpty(relations, "default_realm", ToUpperCopy(realms.defaultRealm));
    AddIfNotEmpty(relations, "default_tgs_enctypes", SpaceSeparatedNames(state.tgsEnctypes));
    AddIfNotEmpty(relations, "default_tkt_enctypes", SpaceSeparatedNames(state.tktEnctypes));
    AddIfNotEmpty(relations, "forwardable", forwardable);
    return relations;
}

// A realm the directory does not know keeps its subsection, with no kdc relation: the
// readers then fall back to DNS for it.
std::vector<Subsection> RealmSubsections(const SelectedRealms& realms, const KdcTable& kdcTable)
{
    std::vector<Subsection> subsections;
    for (const std::string& realm : realms.all) {
        Subsection subsection{ToUpperCopy(realm), {}};
        auto found = kdcTable.find(realm);
        if (found != kdcTable.end())
            for (const std::string& host : found->second) {
                if (subsection.relations.size() == kMaxKdcs)
                    break;
                AddIfNotEmpty(subsection.relations, "kdc", host);
            }
        subsections.push_back(std::move(subsection));
    }
    return subsections;
}

}  // namespace

void GenerateConfigText(const DialogState& state, const RealmDirectory& directory, const ConfigTextWriter& writer)
{
    const SelectedRealms realms = ReadSelection(state.selectedItems);
    const std::vector<Relation> libdefaults = LibdefaultsRelations(state, realms);
    if (!libdefaults.empty())
        writer.WriteSection("libdefaults", libdefaults);
    if (!realms.all.empty())
        writer.WriteNestedSection("realms", RealmSubsections(realms, directory.kdcTable));
    WriteCapaths(writer, directory.trustTable, realms.servers, realms.clients);
}

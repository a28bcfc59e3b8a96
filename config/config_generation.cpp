// Generation of the sections: library defaults, the selected realms' KDCs, capaths, domain realms.
#include "config_generation.h"

#include "capaths_generation.h"
#include "control_texts.h"
#include "enctype_names.h"
#include "enctype_tokens.h"
#include "name_check.h"
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
std::string SpaceSeparatedNames(const std::string& text, bool heimdalOnly = false)
{
    std::string joined;
    for (const std::string& name : SplitEncTypeList(text))
        if (!heimdalOnly || HeimdalKnowsEncType(name))
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
    // Heimdal reads neither MIT line, only its own.
    if (state.heimdalClients)
        AddIfNotEmpty(relations, "default_tgs_etypes", SpaceSeparatedNames(state.tgsEnctypes, true));
    AddIfNotEmpty(relations, "default_tkt_enctypes", SpaceSeparatedNames(state.tktEnctypes));
    if (state.heimdalClients)
        AddIfNotEmpty(relations, "default_as_etypes", SpaceSeparatedNames(state.tktEnctypes, true));
    AddIfNotEmpty(relations, "forwardable", forwardable);
    // Java takes 0 for UDP first, and a directory's replies do not fit in UDP.
    if (state.javaClients)
        relations.push_back({"udp_preference_limit", "1"});
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

// Java maps a host that no relation names to the default realm, and Heimdal and MIT take the
// host's own domain: a host in a subdomain that is no realm needs its realm named.
std::vector<Relation> DomainRealmRelations(const SelectedRealms& realms)
{
    std::vector<Relation> relations;
    for (const std::string& realm : realms.all) {
        const std::string domain = FoldedDomainName(realm);
        const std::string upper = ToUpperCopy(realm);
        relations.push_back({"." + domain, upper});
        relations.push_back({domain, upper});
    }
    return relations;
}

}  // namespace

std::size_t GenerateConfigText(const DialogState& state, const RealmDirectory& directory, const ConfigTextWriter& writer)
{
    const SelectedRealms realms = ReadSelection(state.selectedItems);
    const std::vector<Relation> libdefaults = LibdefaultsRelations(state, realms);
    if (!libdefaults.empty())
        writer.WriteSection("libdefaults", libdefaults);
    if (!realms.all.empty())
        writer.WriteNestedSection("realms", RealmSubsections(realms, directory.kdcTable));
    // No one text serves MIT and Heimdal on routes with two or more realms in between: MIT's
    // layout wins, and Heimdal's clients need referrals there.
    const CapathsLayout layout = state.heimdalClients && !state.mitClients ? CapathsLayout::kHeimdal
                                                                             : CapathsLayout::kMit;
    const std::size_t longRoutes = WriteCapaths(writer, directory.trustTable, realms.servers, realms.clients, layout);
    if ((state.heimdalClients || state.javaClients) && !realms.all.empty())
        writer.WriteSection("domain_realm", DomainRealmRelations(realms));
    return state.heimdalClients && state.mitClients ? longRoutes : 0;
}

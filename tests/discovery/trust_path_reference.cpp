// The per-pair search for cross-realm paths, by realm names and maps.
#include "trust_path_reference.h"

#include "realm_name_labels.h"
#include "upper_case.h"

#include <algorithm>
#include <map>
#include <utility>

std::vector<std::string> HierarchicalWalk(const std::string& client, const std::string& service)
{
    const std::vector<std::string> up = LabelSuffixes(ToUpperCopy(client));
    const std::vector<std::string> down = LabelSuffixes(ToUpperCopy(service));
    // Suffixes of one length are equal only when every shorter pair is.
    std::size_t common = 0;
    while (common < up.size() && common < down.size() && up[up.size() - 1 - common] == down[down.size() - 1 - common])
        ++common;
    // Up from the client to the common suffix, then down to the service realm. Names without a
    // common label pass through every suffix of both, top-level labels included.
    std::vector<std::string> realms(up.begin(), up.end() - static_cast<std::ptrdiff_t>(std::max<std::size_t>(common, 1) - 1));
    realms.insert(realms.end(), down.rbegin() + static_cast<std::ptrdiff_t>(common), down.rend());
    if (realms.size() <= 2)
        return {};
    return std::vector<std::string>(realms.begin() + 1, realms.end() - 1);
}

namespace {

bool TrustsDirectly(const TrustTable& trusts, const std::string& trusting, const std::string& trusted)
{
    auto range = trusts.equal_range(trusting);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second == trusted)
            return true;
    return false;
}

// From the realm whose trust reached the target back to the realm next to the source.
void AppendChain(const std::map<std::string, std::string>& predecessor, const std::string& source,
                 std::string realm, std::vector<std::string>& path)
{
    while (realm != source) {
        path.push_back(realm);
        realm = predecessor.at(realm);
    }
}

// Two realms of one DNS tree need no capaths entry when the chain found is the very walk the
// client makes without one; a resource forest under the company's suffix, or two realms under
// a public suffix such as co.uk, share the last two labels but not that walk.
bool ClientWalksThePath(const std::string& client, const std::string& service, const std::vector<std::string>& path)
{
    if (LastTwoLabels(client) != LastTwoLabels(service))
        return false;
    const std::vector<std::string> walk = HierarchicalWalk(client, service);
    return std::equal(walk.begin(), walk.end(), path.begin(), path.end(),
                      [](const std::string& walked, const std::string& realm) { return walked == ToUpperCopy(realm); });
}

}  // namespace

void FindTrustPath(const TrustTable& trusts, const std::string& source, const std::string& target,
                   std::vector<std::string>& path)
{
    if (source == target || TrustsDirectly(trusts, source, target))
        return;
    std::map<std::string, std::string> predecessor{{source, std::string()}};
    std::vector<std::string> frontier{source};
    while (!frontier.empty()) {
        std::vector<std::string> next;
        for (const std::string& realm : frontier) {
            auto range = trusts.equal_range(realm);
            for (auto it = range.first; it != range.second; ++it) {
                // The target is tested before "already reached", so a chain ending in it is
                // taken even when the target was itself reached earlier.
                if (it->second == target) {
                    // The chain runs from the target's users to the source's services.
                    std::vector<std::string> chain;
                    AppendChain(predecessor, source, realm, chain);
                    if (!ClientWalksThePath(target, source, chain))
                        path.insert(path.end(), chain.begin(), chain.end());
                    return;
                }
                if (predecessor.emplace(it->second, realm).second)
                    next.push_back(it->second);
            }
        }
        frontier = std::move(next);
    }
}

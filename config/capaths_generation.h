// The [capaths] section: the routes between the server and client realms of a configuration.
#ifndef QUILLMERE_CAPATHS_GENERATION_H
#define QUILLMERE_CAPATHS_GENERATION_H

#include "config_text_writer.h"
#include "realm_directory.h"

#include <cstddef>
#include <string>
#include <vector>

// MIT reads a target's values as the way from the subsection's realm; Heimdal reads the first one
// as the realm next to the target, and the hop before each such realm under the same subsection.
enum class CapathsLayout { kMit, kHeimdal };

// Writes [capaths] when some route needs an entry: for each server realm, in list order, a
// subsection with its routes to every client realm and then every other server realm; then for
// each client realm that is not a server realm, one with its routes to the server realms. In MIT's
// layout each relation names a target realm and one realm of the way there, the one next to the
// subsection's realm first; a target is listed once per subsection. In Heimdal's, a route with
// realms H1 ... Hk in between (k >= 2) gives "target = Hk", then "Hj = Hj-1" for j from k down to 2,
// each tag once per subsection. Returns, for MIT's layout, how many routes have two or more realms
// in between: those Heimdal reads otherwise.
std::size_t WriteCapaths(const ConfigTextWriter& writer, const TrustTable& trusts,
                         const std::vector<std::string>& servers, const std::vector<std::string>& clients,
                         CapathsLayout layout);

#endif

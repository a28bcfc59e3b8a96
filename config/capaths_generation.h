// The [capaths] section: the routes between the server and client realms of a configuration.
#ifndef QUILLMERE_CAPATHS_GENERATION_H
#define QUILLMERE_CAPATHS_GENERATION_H

#include "config_text_writer.h"
#include "realm_directory.h"

#include <string>
#include <vector>

// Writes [capaths] when some route needs an entry: for each server realm, in list order, a
// subsection with its routes to every client realm and then every other server realm; then for
// each client realm that is not a server realm, one with its routes to the server realms. Each
// relation names a target realm and one realm of the way there, the one next to the subsection's
// realm first; a target is listed once per subsection.
void WriteCapaths(const ConfigTextWriter& writer, const TrustTable& trusts, const std::vector<std::string>& servers,
                  const std::vector<std::string>& clients);

#endif

// Paths in the simulated directory's environment variables, as a Windows program opens them.
#ifndef QUILLMERE_SIMDIR_WINE_PATH_H
#define QUILLMERE_SIMDIR_WINE_PATH_H

#include <string>

// A path that begins with a single "/" is a Unix path, which a program under Wine reaches through
// drive Z: (the root of the Unix file system in every Wine prefix). Any other path is unchanged.
std::string WinePathOf(const std::string& path);

#endif

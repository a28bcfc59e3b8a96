// The discovery's platform record answering from a forest, as the simulated DLLs do, with the
// calls counted: the walk over a forest file without Windows.
#ifndef QUILLMERE_SIMDIR_FOREST_PLATFORM_H
#define QUILLMERE_SIMDIR_FOREST_PLATFORM_H

#include "directory_platform.h"
#include "forest_file.h"

#include <cstddef>

struct ForestDirectory {
    Forest forest;
    std::size_t getDcNameCalls = 0;
    std::size_t querySrvCalls = 0;
    std::size_t enumerateTrustsCalls = 0;
    std::size_t getPrimaryDomainCalls = 0;
};

// The record over a forest directory; the directory must outlive it. Latencies are not modelled.
DirectoryPlatform ForestPlatform(ForestDirectory& directory);

#endif

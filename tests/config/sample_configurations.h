// Realm directories and dialog states of the sample configurations the tests and peers read.
#ifndef QUILLMERE_SAMPLE_CONFIGURATIONS_H
#define QUILLMERE_SAMPLE_CONFIGURATIONS_H

#include "config_generation.h"
#include "realm_directory.h"

#include <string>

struct SampleConfiguration {
    RealmDirectory directory;
    DialogState state;
};

// Three realms in two forests, one client and one server realm a single hop apart.
SampleConfiguration ThreeRealms();
// The three-realm sample's text exactly as it must be generated.
extern const char* const kThreeRealmsText;

// Five forests of ten realms joined by forest trusts (one of them one-way), so that
// routes pass through two and three intermediate realms; one selected realm has no KDC.
SampleConfiguration FiftyRealms();

#endif

// The krb5.conf text built from the main window's state and the realm directory.
#ifndef QUILLMERE_CONFIG_GENERATION_H
#define QUILLMERE_CONFIG_GENERATION_H

#include "config_text_writer.h"
#include "realm_directory.h"

#include <cstddef>
#include <string>
#include <vector>

// What the generation reads from the main window, as plain values.
struct DialogState {
    // Selected list item texts in list order: the "dsc " marks, then the realm name.
    std::vector<std::string> selectedItems;
    std::string tgsEnctypes;  // IDC_TGS_ENCTYPES, names joined by the chooser
    std::string tktEnctypes;  // IDC_TKT_ENCTYPES
    bool forwardableTrue = false;   // IDC_FORWARDABLE_TRUE
    bool forwardableFalse = false;  // IDC_FORWARDABLE_FALSE
    // The client families the text is for: IDC_MIT_CLIENTS, IDC_HEIMDAL_CLIENTS, IDC_JAVA_CLIENTS.
    bool mitClients = true;
    bool heimdalClients = false;
    bool javaClients = false;
};

// Writes [libdefaults], [realms], [capaths] and, for Heimdal or Java clients, [domain_realm],
// each only when it has entries. Returns how many routes Heimdal clients can take only with
// referrals: with MIT and Heimdal both, those written in MIT's layout that Heimdal reads otherwise.
std::size_t GenerateConfigText(const DialogState& state, const RealmDirectory& directory,
                               const ConfigTextWriter& writer);

#endif

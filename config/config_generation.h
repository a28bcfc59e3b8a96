// The krb5.conf text built from the main window's state and the realm directory.
#ifndef QUILLMERE_CONFIG_GENERATION_H
#define QUILLMERE_CONFIG_GENERATION_H

#include "config_text_writer.h"
#include "realm_directory.h"

#include <string>
#include <vector>

// What the generation reads from the main window, as plain values.
struct DialogState {
    // Selected list item texts in list order: the "dsc " marks, then the realm name.
    std::vector<std::string> selectedItems;
    std::string tgsEnctypes;  // edit 1011, names joined by the chooser
    std::string tktEnctypes;  // edit 1013
    bool forwardableTrue = false;   // radio button 1017
    bool forwardableFalse = false;  // radio button 1018
};

// Writes [libdefaults], [realms] and [capaths], each only when it has entries.
void GenerateConfigText(const DialogState& state, const RealmDirectory& directory, const ConfigTextWriter& writer);

#endif

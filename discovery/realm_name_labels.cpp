// Realm names read as DNS trees.
#include "realm_name_labels.h"

#include "lead_bytes.h"

// Dots are found from the front: read from the back, a double-byte character's trail byte can't
// be told from a byte of its own.
std::string LastTwoLabels(const std::string& name)
{
    std::size_t last = std::string::npos;
    std::size_t previous = std::string::npos;
    for (std::size_t dot = FindCharacter(name, '.'); dot != std::string::npos; dot = FindCharacter(name, '.', dot + 1)) {
        previous = last;
        last = dot;
    }
    return previous == std::string::npos ? name : name.substr(previous + 1);
}

std::vector<std::string> LabelSuffixes(const std::string& name)
{
    std::vector<std::string> suffixes{name};
    for (std::size_t dot = FindCharacter(name, '.'); dot != std::string::npos; dot = FindCharacter(name, '.', dot + 1))
        suffixes.push_back(name.substr(dot + 1));
    return suffixes;
}

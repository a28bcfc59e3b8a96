// Realm names read as DNS trees.
#include "realm_name_labels.h"

std::string LastTwoLabels(const std::string& name)
{
    const std::size_t last = name.rfind('.');
    if (last == std::string::npos || last == 0)
        return name;
    const std::size_t previous = name.rfind('.', last - 1);
    if (previous == std::string::npos)
        return name;
    return name.substr(previous + 1);
}

std::vector<std::string> LabelSuffixes(const std::string& name)
{
    std::vector<std::string> suffixes{name};
    for (std::size_t dot = name.find('.'); dot != std::string::npos; dot = name.find('.', dot + 1))
        suffixes.push_back(name.substr(dot + 1));
    return suffixes;
}

// Unix paths seen through Wine's drive Z:.
#include "wine_path.h"

std::string WinePathOf(const std::string& path)
{
    // "//server/share" is a UNC path on Windows, not a Unix one.
    if (path.size() >= 1 && path[0] == '/' && (path.size() == 1 || path[1] != '/'))
        return "Z:" + path;
    return path;
}

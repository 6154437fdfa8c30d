#include "controls/file_names.h"

#include <algorithm>

namespace zeb {

std::string suggestedFileName(const std::string& station, const std::string& what,
                              const std::string& extension) {
    std::string name = station.empty() ? std::string("Scenario") : station;
    std::replace(name.begin(), name.end(), '/', '-');
    return name + " - " + what + "." + extension;
}

std::string withExtension(const std::string& path, const std::string& extension) {
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (extension.empty() || name.empty() || name.find('.', 1) != std::string::npos)
        return path;
    return path + "." + extension;
}

} // namespace zeb

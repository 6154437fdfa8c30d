#pragma once

#include <string>

namespace zeb {

// "Forlì - treni.csv": the name an export suggests, from the station's name (a slash, which a
// file name cannot hold, becomes a dash; no name gives "Scenario").
std::string suggestedFileName(const std::string& station, const std::string& what,
                              const std::string& extension);

// `path` with ".extension" added when its file name has no extension of its own.
std::string withExtension(const std::string& path, const std::string& extension);

} // namespace zeb

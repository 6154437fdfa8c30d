#pragma once

#include "controls/user_prompts.h"

#include <string>

namespace zeb {

// "Forlì - treni.csv": the name an export suggests, from the station's name (a slash, which a
// file name cannot hold, becomes a dash; no name gives "Scenario").
std::string suggestedFileName(const std::string& station, const std::string& what,
                              const std::string& extension);

// `path` with ".extension" added when its file name has no extension of its own.
std::string withExtension(const std::string& path, const std::string& extension);

// The filter SALVA saves a scenario under, ".zeb" added to a name typed without it; a variant's
// save asks its question under kVariantCaption.
inline const FileFilter kScenarioFilter{"File Scenario di ZEB (*.zeb) ", "*.zeb", {}, "zeb"};
inline constexpr const char* kVariantCaption = "Salva variante";

} // namespace zeb

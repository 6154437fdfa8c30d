#pragma once

#include <string>

namespace zeb {

// Writes `bytes` to `path` so that the old file is either replaced whole or left untouched:
// the bytes go to a temporary file in the same folder, which is synced and then renamed over
// the target. On failure the temporary file is removed and ScenarioFileError (with errno) is
// thrown. A new file gets the usual permissions; a replaced one keeps its own.
void replaceFileContents(const std::string& path, const std::string& bytes);

} // namespace zeb

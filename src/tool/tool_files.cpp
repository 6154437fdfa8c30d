#include "tool/tool_files.h"

#include "scenario_file/scenario_file_error.h"

#include <ostream>

namespace zeb {

std::unique_ptr<ToolDocument> openDocument(const std::string& path, std::ostream& err) {
    auto opened = std::make_unique<ToolDocument>();
    try {
        opened->document().open(path);
    } catch (const ScenarioFileError& error) {
        err << path << ": " << error.message() << "\n";
        return nullptr;
    }
    return opened;
}

bool saveDocument(ToolDocument& document, const std::string& path, std::ostream& err) {
    try {
        document.document().save(path);
    } catch (const ScenarioFileError& error) {
        err << path << ": " << error.message() << "\n";
        return false;
    }
    return true;
}

} // namespace zeb

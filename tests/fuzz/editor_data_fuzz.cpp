// libFuzzer target: arbitrary bytes as the editor's data beside a scenario. Reading never fails
// and keeps what it can; what it keeps is written, read again equal, and written again the same
// bytes; a file read whole says nothing, a file read in part says what it left.
#include "companion/editor_data.h"
#include "scenario_file/scenario_file_error.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

[[noreturn]] void fault(const char* what, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const zeb::EditorDataRead read = zeb::readEditorData(text);
    if (read.unread != read.note.has_value())
        fault("a note without anything unread, or the other way", read.note.value_or(""));
    std::string written;
    try {
        written = zeb::editorDataText(read.data, read.belongsTo);
    } catch (const zeb::ScenarioFileError& error) {
        fault("what was read cannot be written", error.message());
    }
    const zeb::EditorDataRead again = zeb::readEditorData(written);
    if (again.note)
        fault("what was written does not read whole", *again.note);
    if (!(again.data == read.data) || again.belongsTo != read.belongsTo)
        fault("what was written reads back other", written);
    if (zeb::editorDataText(again.data, again.belongsTo) != written)
        fault("written twice, two texts", written);
    return 0;
}

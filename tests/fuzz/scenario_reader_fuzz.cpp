// libFuzzer target: arbitrary bytes as a scenario file. Whatever loads must save, and a save,
// reload and save again must give the same bytes as the first save.
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/scenario_reader.h"
#include "scenario_file/scenario_writer.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// The bytes a save of `bytes`, once loaded, gives; aborts with `what` where it cannot be made.
std::string savedAfterLoading(std::string_view bytes, const char* what) {
    zeb::Scenario loaded;
    zeb::readScenario(loaded, bytes);
    try {
        return zeb::scenarioFileBytes(loaded);
    } catch (const zeb::ScenarioFileError& error) {
        std::fprintf(stderr, "%s: %s\n", what, error.message().c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    std::string first;
    try {
        first = savedAfterLoading(std::string_view(reinterpret_cast<const char*>(data), size),
                                  "the writer refuses what the reader accepted");
    } catch (const zeb::ScenarioFileError&) {
        return 0; // refused input is fine; crashes, leaks and hangs are not
    }
    std::string second;
    try {
        second = savedAfterLoading(first, "a reloaded file cannot be saved");
    } catch (const zeb::ScenarioFileError& error) {
        std::fprintf(stderr, "a saved file does not load: %s\n", error.message().c_str());
        std::abort();
    }
    if (first != second) {
        std::fprintf(stderr, "saving a reloaded file gives other bytes\n");
        std::abort();
    }
    return 0;
}

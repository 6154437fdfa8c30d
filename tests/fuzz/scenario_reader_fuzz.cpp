// libFuzzer target: arbitrary bytes as a scenario file. Whatever loads must save, and a save,
// reload and save again must give the same bytes as the first save.
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/scenario_reader.h"
#include "scenario_file/scenario_writer.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

[[noreturn]] void broken(const char* what, const zeb::ScenarioFileError* error = nullptr) {
    std::fprintf(stderr, "%s%s%s\n", what, error ? ": " : "",
                 error ? error->message().c_str() : "");
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    zeb::Scenario loaded;
    try {
        zeb::readScenario(loaded, bytes);
    } catch (const zeb::ScenarioFileError&) {
        return 0; // refused input is fine; crashes, leaks and hangs are not
    }
    std::string first;
    try {
        first = zeb::scenarioFileBytes(loaded);
    } catch (const zeb::ScenarioFileError& error) {
        broken("the writer refuses what the reader accepted", &error);
    }
    zeb::Scenario reloaded;
    try {
        zeb::readScenario(reloaded, first);
    } catch (const zeb::ScenarioFileError& error) {
        broken("a saved file does not load", &error);
    }
    std::string second;
    try {
        second = zeb::scenarioFileBytes(reloaded);
    } catch (const zeb::ScenarioFileError& error) {
        broken("a reloaded file cannot be saved", &error);
    }
    if (first != second)
        broken("saving a reloaded file gives other bytes");
    return 0;
}

#include "scenario_file/scenario_file_error.h"

#include <cstring>

namespace zeb {

ScenarioFileError::ScenarioFileError(int number, const std::string& description)
    : std::runtime_error(std::to_string(number) + " " + description), number_(number),
      description_(description) {}

ScenarioFileError::ScenarioFileError(FormatError number, const std::string& description)
    : ScenarioFileError(static_cast<int>(number), description) {}

ScenarioFileError ScenarioFileError::fromErrno(int error) {
    return ScenarioFileError(error, std::strerror(error));
}

} // namespace zeb

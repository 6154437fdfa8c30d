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

std::string quotedValue(std::string_view utf8) {
    constexpr int kShownCharacters = 40;
    std::string out = "\"";
    int characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const bool startsCharacter = (byte & 0xC0) != 0x80;
        if (startsCharacter && characters++ == kShownCharacters)
            return out + "…\"";
        if (byte < 0x20 || byte == 0x7F)
            out += "\uFFFD";
        else
            out += utf8[i];
    }
    return out + "\"";
}

} // namespace zeb

#pragma once

#include "model/scenario.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// Bounds on what a scenario may hold, checked alike by the reader and the writer, so that every
// file that loads can be saved and every saved file loads back, and no file can exhaust memory.
// They apply to the texts the model stores (UTF-8 bytes), which a save and a reload never make
// longer, rather than to lines or files, whose keywords the writer may lengthen.
inline constexpr std::size_t kMaxTextBytes = 64 * 1024;                // one stored text
inline constexpr std::size_t kMaxScenarioTextBytes = 64 * 1024 * 1024; // all of them together

// The longest line and file the writer can make within those bounds (a start time is two texts
// on one line; every line adds a keyword, marks and its line end); the reader stops past them.
inline constexpr std::size_t kMaxLineBytes = 2 * kMaxTextBytes + 64;
inline constexpr std::size_t kMaxFileBytes = kMaxScenarioTextBytes + (kMaxTrains + 1) * 512;

// The texts of the station (name, start time, the track line) or of a train, as the file
// carries them: their total size, and the field of the first one past kMaxTextBytes, named as the
// file's keyword names it.
struct TextMeasure {
    std::size_t bytes = 0;
    std::optional<std::string_view> oversizedField;
};
TextMeasure measureStationTexts(const Scenario& s);
TextMeasure measureTrainTexts(const Treno& t);
// The bytes of the station's texts and of every stored train's, together: what an import adds
// its trains' texts to before it compares with kMaxScenarioTextBytes.
std::size_t storedTextBytes(const Scenario& s);

// Why `trains`, out of `counted` trains an import read, cannot be appended to `base`, or nullopt:
// more than the table holds ("<subject> 3 treni, ma nello scenario ce ne stanno ancora 2 (al
// massimo 2001)", then `advice`), a text past its limit, or texts past the file's limit. Every
// importer refuses an append through it.
std::optional<std::string> appendRefusal(const Scenario& base, const std::vector<Treno>& trains,
                                         long counted, std::string_view subject,
                                         std::string_view advice = {});

// The value of the track line: each of the first numero_binari names followed by ",", then ".".
std::string trackLineValue(const Scenario& s);

} // namespace zeb

#pragma once

#include "companion/stored_links.h"
#include "model/track_rule.h"
#include "timetable/occupancy.h"

#include <optional>
#include <string>
#include <string_view>

namespace zeb {

// What only the editor needs of a scenario, kept beside it in a file of its own ("Milano.zeb" →
// "Milano.zeb-editor"): the scenario file stays the simulator's, byte for byte, and opens without
// it. Version 1 holds the occupancy minutes, the links between trains and, for a variant of a
// day, the file of its base day; the track rules and the assignment's buffer and time limit.
struct EditorData {
    CheckSettings settings{};
    // The day this scenario was made from, for "Confronta con…"; none where empty. In memory a
    // path as the scenario's own; in the file, relative to the scenario's folder where it can be,
    // so that the two move together.
    std::string baseDay{};
    std::vector<StoredLink> links{};
    TrackRules trackRules{}; // the station's tracks by line and direction, in their order
    int buffer = 5;          // the minutes an assignment keeps between trains beyond the separation
    int timeLimit = 2;       // the seconds an assignment may look for better tracks
    bool operator==(const EditorData&) const = default;
};

inline constexpr int kEditorDataVersion = 1;

// The companion file of the scenario at `scenarioPath`.
std::string companionPathOf(const std::string& scenarioPath);

// The data as the companion file holds it: JSON, with its format's name and version.
std::string editorDataText(const EditorData& data);

// The data a companion file's text gives, and what of it was ignored and why, in Italian, for the
// user: text that is no such file, a newer version, values out of range. What is ignored keeps
// its default; nothing else is lost.
struct EditorDataRead {
    EditorData data;
    std::optional<std::string> note;
};
EditorDataRead readEditorData(std::string_view text);

// The companion file of the scenario at `scenarioPath`: none gives the defaults without a word;
// one that cannot be read gives them with the note, naming the file.
EditorDataRead loadEditorData(const std::string& scenarioPath);

// Writes the companion file of the scenario at `scenarioPath` as the scenario is written, whole or
// not at all; throws ScenarioFileError.
void saveEditorData(const std::string& scenarioPath, const EditorData& data);

} // namespace zeb

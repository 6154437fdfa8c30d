#pragma once

#include "companion/stored_links.h"
#include "model/track_rule.h"
#include "timetable/occupancy.h"

#include <optional>
#include <string>
#include <string_view>

namespace zeb {

// How "Tabelloni" plays the day: the delays (0 none, 1 the most of each index, 2 drawn), the
// seed of the draw, the rows of a board and the minutes before a train is due that it shows.
struct BoardChoices {
    int delays = 0;
    int seed = 1;
    int rows = 10;
    int horizon = 60;
    bool operator==(const BoardChoices&) const = default;
};

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
    // The day the trains run, "AAAA-MM-GG", where known: an import of a feed's day sets it, and
    // its variants keep it; the notice of a variant is dated by it.
    std::string serviceDay{};
    std::vector<StoredLink> links{};
    TrackRules trackRules{}; // the station's tracks by line and direction, in their order
    int buffer = 5;          // the minutes an assignment keeps between trains beyond the separation
    int timeLimit = 2;       // the seconds an assignment may look for better tracks
    BoardChoices boards{};
    // Beside a recovery copy only: the file the scenario was read from or last saved to.
    std::string recoveredFrom{};
    bool operator==(const EditorData&) const = default;
};

inline constexpr int kEditorDataVersion = 1;
// The most links the reader takes and so the most written: far more than any station has.
inline constexpr std::size_t kMostStoredLinks = 10'000;

// The scenario file a companion file belongs to: its size and a digest of its bytes, so that a
// pair split by another program, or by a save cut short, is told apart from a pair saved as one.
struct ScenarioIdentity {
    std::size_t bytes = 0;
    std::string digest;
    bool operator==(const ScenarioIdentity&) const = default;
};
ScenarioIdentity identityOf(std::string_view scenarioBytes);

// The companion file of the scenario at `scenarioPath`.
std::string companionPathOf(const std::string& scenarioPath);

// The data as the companion file holds it: JSON, with its format's name and version, and the
// scenario it belongs to where given. Throws ScenarioFileError where the data hold more links or
// rules, or more text, than the reader takes back.
std::string editorDataText(const EditorData& data,
                           const std::optional<ScenarioIdentity>& belongsTo = {});

// The data a companion file's text gives, and what of it was not read and why, in Italian, for
// the user: text that is no such file or breaks off, a newer version, values out of range. What
// is not read keeps its default; nothing else is lost.
struct EditorDataRead {
    EditorData data;
    std::optional<std::string> note;
    // Something of the file was not read: a save keeps it aside rather than write over it.
    bool unread = false;
    std::optional<ScenarioIdentity> belongsTo;
};
EditorDataRead readEditorData(std::string_view text);

// The companion file of the scenario at `scenarioPath` (beside the file its links lead to): none
// gives the defaults without a word; one that cannot be read whole, or that belongs to another
// version of the scenario, gives what it can with a note in a sentence, naming the file.
EditorDataRead loadEditorData(const std::string& scenarioPath);

// The companion file's text for the scenario at `scenarioPath` whose bytes are `scenarioBytes`:
// the base day named from the scenario's folder.
std::string companionTextFor(const std::string& scenarioPath, std::string_view scenarioBytes,
                             const EditorData& data);

// What the pair at `scenarioPath` holds now, to tell whether another program changed either file
// since: the identity of each, none for a file that cannot be read.
struct PairOnDisk {
    std::optional<ScenarioIdentity> scenario;
    std::optional<ScenarioIdentity> companion;
    bool operator==(const PairOnDisk&) const = default;
};
PairOnDisk pairOnDisk(const std::string& scenarioPath);

// Saves the scenario's bytes at `path` and its editor's `data` beside it as one: both are written
// and synced before either replaces its old file, so that a save that fails writes neither; the
// companion file names the scenario it belongs to, so that a pair cut apart by a kill between
// the two renames is said when opened. A companion file that could not be read whole is kept
// aside, never written over; a name too long for its companion file is refused first. Links at
// `path` are resolved once, and the pair goes beside the file they lead to. Returns the pair as
// written, as pairOnDisk() would read it back. Throws ScenarioFileError.
PairOnDisk writeScenarioPair(const std::string& path, const std::string& scenarioBytes,
                             const EditorData& data);

// The same for the scenario `s`, as Funzione_Salva_Con_Nome writes it.
struct Scenario;
PairOnDisk saveScenarioPair(Scenario& s, const std::string& path, const EditorData& data);

// The name a companion file that cannot be read is kept under, dated `day` ("AAAA-MM-GG"): the
// first of NAME.non-letto-DAY, NAME.non-letto-DAY-2, … that is free.
std::string asideNameFor(const std::string& companionPath, const std::string& day);

} // namespace zeb

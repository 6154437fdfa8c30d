#pragma once

#include <vector>

namespace zeb {

// A run of stored trains replaced: from `position`, `removed` records gave way to `inserted` new
// ones; the later records moved by the difference.
struct TrainRun {
    int position = 0;
    int removed = 0;
    int inserted = 0;

    bool operator==(const TrainRun&) const = default;
};

// What a change did to the scenario, as the history found it by comparing: the runs of records
// replaced, in the order they were replaced, and whether the station's data changed. The windows
// that show the timetable whole update the rows concerned and keep their selection; a new,
// opened or closed scenario replaces everything.
struct ScenarioChange {
    std::vector<TrainRun> runs;
    bool station = false;
    bool replaced = false;
    bool links = false;      // the links between trains changed
    bool editorData = false; // the editor's own data (settings, rules, …) changed

    bool operator==(const ScenarioChange&) const = default;
};

} // namespace zeb

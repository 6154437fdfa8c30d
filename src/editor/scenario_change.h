#pragma once

namespace zeb {

// What one command changed in the scenario, for the windows that show the timetable whole: they
// update the rows concerned and keep their selection, or start afresh for a new scenario.
struct ScenarioChange {
    enum class Kind {
        TrainInserted, // the trains from `train` to the end are new
        TrainChanged,  // `train` has new fields
        TrainDeleted,  // `train` is gone, the later ones moved down one place
        Station,       // name, start time or tracks
        Replaced,      // a new, opened or closed scenario
    };
    Kind kind;
    int train = -1;

    bool operator==(const ScenarioChange&) const = default;
};

} // namespace zeb

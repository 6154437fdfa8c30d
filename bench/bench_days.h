#pragma once

// The days the benchmark measures on, and the editor opened on them: shared by its files.
#include "model/scenario.h"
#include "views/editor/editor_window.h"

#include <string>

namespace zeb::bench {

// A full table of ordinary trains: every kind of end, every category, short stops and notes,
// 87 trains a day on each of 23 tracks, 16 minutes apart, so that few of them conflict.
Scenario fullScenario();
// The worst day for the checker: 2001 trains on track 1 within one hour, all in conflict.
Scenario oneTrackOneHour();

// The files of the full scenario and of the worst day, written once into a folder of their own.
struct BenchFiles {
    std::string folder;
    std::string scenarioPath;
    std::string oneTrackPath;
    std::string bytes;

    BenchFiles();
    ~BenchFiles();
};
BenchFiles& files();

// The editor with the full scenario open and its last train shown: what a tick sees while the
// user reads a train.
struct OpenEditor {
    Scenario scenario;
    EditorWindow window{scenario};

    explicit OpenEditor(const std::string& path = files().scenarioPath);
};

} // namespace zeb::bench

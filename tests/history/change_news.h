#pragma once

#include "history/scenario_change.h"
#include "model/treno.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zeb::test {

// The stored fields a user sets; the type code and the track's list position are derived.
inline bool sameRecord(Treno a, const Treno& b) {
    a.tipologia = b.tipologia;
    a.indice_binario = b.indice_binario;
    return a == b;
}

// Whether `change` says exactly how the trains `before` became `after`: replaying its runs maps
// every row outside them to the same record moved by the runs before it, every row a run of equal
// length replaced to another record, and a run that adds or removes trains differs from what was
// there at both of its ends (it is no wider than the change).
inline ::testing::AssertionResult announcesExactly(const std::vector<Treno>& before,
                                                   const std::vector<Treno>& after,
                                                   const ScenarioChange& change) {
    struct Row {
        int old;   // the record it was, or -1 for a new one
        bool kept; // untouched by the change
    };
    std::vector<Row> rows;
    for (int i = 0; i < static_cast<int>(before.size()); ++i)
        rows.push_back({i, true});
    for (const TrainRun& run : change.runs) {
        if (run.position < 0 || run.removed < 0 || run.inserted < 0 ||
            run.position + run.removed > static_cast<int>(rows.size()))
            return ::testing::AssertionFailure() << "a run past the trains";
        std::vector<Row> replacing;
        for (int k = 0; k < run.inserted; ++k) {
            const bool sameLength = run.removed == run.inserted;
            replacing.push_back(
                {sameLength ? rows[static_cast<std::size_t>(run.position + k)].old : -1, false});
        }
        if (run.removed != run.inserted && run.removed > 0 && run.inserted > 0) {
            replacing.front().old = rows[static_cast<std::size_t>(run.position)].old;
            if (run.inserted > 1)
                replacing.back().old =
                    rows[static_cast<std::size_t>(run.position + run.removed - 1)].old;
        }
        rows.erase(rows.begin() + run.position, rows.begin() + run.position + run.removed);
        rows.insert(rows.begin() + run.position, replacing.begin(), replacing.end());
    }
    if (rows.size() != after.size())
        return ::testing::AssertionFailure()
               << "the runs give " << rows.size() << " trains, not " << after.size();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].old < 0)
            continue;
        const bool same = sameRecord(before[static_cast<std::size_t>(rows[i].old)], after[i]);
        if (same != rows[i].kept)
            return ::testing::AssertionFailure()
                   << "row " << i
                   << (rows[i].kept ? " changed outside the runs" : " announced but unchanged");
    }
    return ::testing::AssertionSuccess();
}

} // namespace zeb::test

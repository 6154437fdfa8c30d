#pragma once

#include "companion/editor_data.h"
#include "scenario_file/test_files.h"

#include <chrono>
#include <csignal>
#include <functional>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zeb::test {

// Runs `write(round)` over and over in a child process and kills it at a random moment within
// its first few milliseconds, `kills` times; after each kill `holds()` looks at what the child
// left on disk. Returns how many kills left something that does not hold.
inline int killWhileWriting(int kills, const std::function<void(long round)>& write,
                            const std::function<bool()>& holds) {
    std::mt19937 random(20261208);
    int broken = 0;
    for (int k = 0; k < kills; ++k) {
        const pid_t child = fork();
        if (child == 0) {
            try {
                for (long round = 1'000'000L * (k + 1);; ++round)
                    write(round);
            } catch (...) {
                _exit(3);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 4000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (!holds())
            ++broken;
    }
    return broken;
}

// The pair a writer of rounds saves: the round's number in the scenario's bytes and in the data's
// base day, so that a scenario and data of different rounds are told apart.
inline std::string roundBytes(long round) {
    return "round " + std::to_string(round) + "\r\n";
}
inline EditorData roundData(long round) {
    return {.baseDay = "/giorni/" + std::to_string(round) + ".zeb",
            .links = {{{"1", "A", "10:00"}, {"2", "B", std::to_string(round % 60)}}}};
}

// The pair at `scenario` was saved as one (its data name its bytes, and `together` agrees), or
// says it is split: never a silent split.
inline bool
pairHolds(const std::string& scenario,
          const std::function<bool(const std::string& bytes, const EditorData&)>& together) {
    const std::string bytes = readBytes(scenario);
    const EditorDataRead read = loadEditorData(scenario);
    if (!read.belongsTo)
        return false;
    if (*read.belongsTo != identityOf(bytes))
        return read.note && read.note->find("un'altra versione") != std::string::npos;
    return !read.note && together(bytes, read.data);
}

// The same for the pairs of roundBytes() and roundData().
inline bool roundPairHolds(const std::string& scenario) {
    return pairHolds(scenario, [](const std::string& bytes, const EditorData& data) {
        const long round = std::stol(bytes.substr(6));
        return data.baseDay == roundData(round).baseDay && data.links == roundData(round).links;
    });
}

} // namespace zeb::test

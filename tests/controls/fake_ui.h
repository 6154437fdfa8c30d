#pragma once

#include "controls/answer_queue.h"
#include "controls/user_prompts.h"
#include "station/station_logic.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace zeb::test {

struct ShownMessage {
    std::string text;
    std::string title;
    MessageIcon icon;
    MessageButtons buttons;

    // "title: text [icon buttons]", with the icon and buttons as numbers, to compare at once.
    std::string described() const {
        return title + ": " + text + " [" + std::to_string(static_cast<int>(icon)) + " " +
               std::to_string(static_cast<int>(buttons)) + "]";
    }
};

// Answers the logic's questions from queues that a test fills before it acts, and records
// every message shown. The station dialog is played by `station`, between its opening and its
// closing; by default it is closed at once through its close command.
class FakeUi : public EditorUi, public AnswerQueue {
public:
    std::vector<ShownMessage> messages;
    std::deque<std::optional<std::string>> fileNames; // nullopt: Cancel
    std::vector<FileFilter> filters;
    std::function<void(StationLogic&)> station;
    int stationOpenings = 0;

    Answer showMessage(const std::string& text, const std::string& title, MessageIcon icon,
                       MessageButtons buttons) override {
        messages.push_back({text, title, icon, buttons});
        return next(buttons);
    }

    std::optional<std::string> askSaveFileName(const FileFilter& filter) override {
        return nextFile(filter);
    }
    std::optional<std::string> askOpenFileName(const FileFilter& filter) override {
        return nextFile(filter);
    }

    void openStationDialog(Scenario& scenario, ListBox& editorTrackList) override {
        ++stationOpenings;
        StationLogic dialog(scenario, editorTrackList, *this);
        dialog.Form_Load();
        if (station)
            station(dialog);
        dialog.Form_Unload();
    }

    void openContributionWindow() override {}
    bool showProgress(const std::string&, std::size_t done, std::size_t) override {
        return done < cancelProgressAt;
    }
    std::size_t cancelProgressAt = static_cast<std::size_t>(-1); // the user cancels there

private:
    std::optional<std::string> nextFile(const FileFilter& filter) {
        filters.push_back(filter);
        if (fileNames.empty())
            return std::nullopt;
        auto name = fileNames.front();
        fileNames.pop_front();
        return name;
    }
};

// A station script: checks the boxes of `slots` as the user would, names the station, and
// presses OK.
inline std::function<void(StationLogic&)> chooseStation(std::vector<int> slots,
                                                        std::string name = "Valmora",
                                                        std::string ora = "06",
                                                        std::string minuti = "30") {
    return [=](StationLogic& dialog) {
        dialog.textstazione.setText(name);
        dialog.orap.setText(ora);
        dialog.minp.setText(minuti);
        for (int slot : slots) {
            dialog.binario[slot].checked = !dialog.binario[slot].checked;
            dialog.binario_Click(slot);
        }
        dialog.ok_Click();
    };
}

} // namespace zeb::test

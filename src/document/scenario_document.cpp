#include "document/scenario_document.h"

#include "scenario_file/scenario_file_error.h"

namespace zeb {

void ScenarioDocument::commit(std::string label, std::optional<TrainLinks> links) {
    if (auto change = links ? history_.record(s_, std::move(label), *links)
                            : history_.record(s_, std::move(label))) {
        unsaved_ = true;
        change_ = std::move(change);
    }
}

void ScenarioDocument::commitData(std::string label, const std::optional<TrainLinks>& links) {
    if (auto change =
            history_.record(s_, std::move(label), links.value_or(history_.links()), dataText())) {
        unsaved_ = true;
        change_ = std::move(change);
    }
}

void ScenarioDocument::replaced() {
    history_.reset(s_);
    unsaved_ = false;
    data_ = {};
    history_.setEditorData(dataText());
    change_ = ScenarioChange{.runs = {}, .station = true, .replaced = true};
    onDisk_ = offered_ = {};
}

void ScenarioDocument::stepped(ScenarioChange change) {
    if (change.editorData) {
        EditorData restored = readEditorData(history_.editorData()).data;
        restored.links = data_.links; // kept apart, in the history's own links
        data_ = std::move(restored);
    }
    unsaved_ = true;
    afterTrainsChanged();
    change_ = std::move(change);
}

std::string ScenarioDocument::dataText() const {
    EditorData kept = data_;
    kept.links.clear(); // the history follows the links on its own
    try {
        return editorDataText(kept);
    } catch (const ScenarioFileError&) {
        return {}; // more than a file takes: a save says so
    }
}

void ScenarioDocument::setLinks(const TrainLinks& links, std::string label) {
    if (!mayChange())
        return;
    commit(std::move(label), links);
    afterLinksChanged();
}

void ScenarioDocument::setCheckSettings(const CheckSettings& settings) {
    if (!isOpen() || settings == data_.settings)
        return;
    data_.settings = settings;
    commitData("impostazioni dell'orario");
}

void ScenarioDocument::setTrackRules(const TrackRules& rules) {
    if (!isOpen() || rules == data_.trackRules)
        return;
    data_.trackRules = rules;
    commitData("regole dei binari");
}

void ScenarioDocument::setBoardChoices(const BoardChoices& choices) {
    if (!isOpen() || choices == data_.boards)
        return;
    data_.boards = choices;
    commitData("impostazioni dei tabelloni");
}

void ScenarioDocument::setAssignmentLimits(int buffer, int timeLimit) {
    if (!isOpen() || (buffer == data_.buffer && timeLimit == data_.timeLimit))
        return;
    data_.buffer = buffer;
    data_.timeLimit = timeLimit;
    commitData("margine e tempo dell'assegnazione");
}

} // namespace zeb

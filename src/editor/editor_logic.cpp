#include "editor/editor_logic.h"

#include "model/value_tables.h"
#include "scenario_file/scenario_file_error.h"

namespace zeb {

EditorLogic::EditorLogic(Scenario& scenario, EditorUi& ui) : s_(scenario), ui_(ui) {
    categoria.entries = entriesOf(kCategorie);
    ritardo.entries = entriesOf(kRitardi);
    sussi.entries = entriesOf(kSussidiarie);
    Form_Load();
}

void EditorLogic::Form_Load() {
    s_.binari_scelti.fill(false);
// GCC 12 at -O2 and above reports a -Wrestrict overlap inside the inlined assignment of a
// string literal to a std::string (GCC bug 105651): a false positive in the library's code.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
    s_.treni[s_.totale_treni].codice_sussidiaria = "0";
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic pop
#endif
    inseriscitreno.visible = true;
    modificatr.visible = false;
    cancellatreno.enabled = false;
}

void EditorLogic::Cancella() {
    numero.setText("");
    categoria.select(0);
    for (TextBox* box : {&provenienza, &destinazione, &oraa, &mina, &orap, &minp})
        box->setText("");
    ritardo.select(0);
    fermate.setText("");
    sussi.select(0);
    note.setText("");
    binario.select(0);
}

void EditorLogic::commit(std::string label, std::optional<TrainLinks> links) {
    if (auto change = links ? history_.record(s_, std::move(label), *links)
                            : history_.record(s_, std::move(label))) {
        unsaved_ = true;
        change_ = std::move(change);
    }
}

void EditorLogic::replaced() {
    history_.reset(s_);
    unsaved_ = false;
    data_ = {};
    history_.setEditorData(dataText());
    change_ = ScenarioChange{.runs = {}, .station = true, .replaced = true};
}

std::string EditorLogic::dataText() const {
    EditorData kept = data_;
    kept.links.clear(); // the history follows the links on its own
    try {
        return editorDataText(kept);
    } catch (const ScenarioFileError&) {
        return {}; // more than a file takes: SALVA says so
    }
}

void EditorLogic::commitData(std::string label, const std::optional<TrainLinks>& links) {
    if (auto change =
            history_.record(s_, std::move(label), links.value_or(history_.links()), dataText())) {
        unsaved_ = true;
        change_ = std::move(change);
    }
}

void EditorLogic::setLinks(const TrainLinks& links, std::string label) {
    if (!canShowTrain())
        return;
    commit(std::move(label), links);
    enterCoveredState();
}

void EditorLogic::setCheckSettings(const CheckSettings& settings) {
    if (!scenarioOpen() || settings == data_.settings)
        return;
    data_.settings = settings;
    commitData("impostazioni dell'orario");
}

void EditorLogic::setTrackRules(const TrackRules& rules) {
    if (!scenarioOpen() || rules == data_.trackRules)
        return;
    data_.trackRules = rules;
    commitData("regole dei binari");
}

void EditorLogic::setAssignmentLimits(int buffer, int timeLimit) {
    if (!scenarioOpen() || (buffer == data_.buffer && timeLimit == data_.timeLimit))
        return;
    data_.buffer = buffer;
    data_.timeLimit = timeLimit;
    commitData("margine e tempo dell'assegnazione");
}

void EditorLogic::undo() {
    if (!canUndo())
        return;
    if (hasUnconfirmedChanges()) {
        showRecord(); // the typing goes, the history stays as it is
        return;
    }
    if (auto change = history_.undo(s_))
        afterHistoryStep(std::move(*change));
}

std::string EditorLogic::undoLabel() const {
    if (hasUnconfirmedChanges())
        return "modifiche al treno " + s_.treni[static_cast<std::size_t>(s_.treno_attuale)].numero;
    return history_.undoLabel();
}

std::array<const std::string*, 9> EditorLogic::fieldTexts() const {
    return {&numero.text, &provenienza.text, &destinazione.text, &oraa.text, &mina.text,
            &orap.text,   &minp.text,        &fermate.text,      &note.text};
}

std::array<int, 4> EditorLogic::fieldChoices() const {
    return {categoria.selected, ritardo.selected, sussi.selected, binario.selected};
}

EditorLogic::ShownFields EditorLogic::fieldsNow() const {
    ShownFields fields{{}, fieldChoices()};
    const auto texts = fieldTexts();
    for (std::size_t k = 0; k < texts.size(); ++k)
        fields.texts[k] = *texts[k];
    return fields;
}

bool EditorLogic::hasUnconfirmedChanges() const {
    // Viewing a stored train, not entering a new one; compared without copying a text.
    if (copri.visible || !modificatr.visible || s_.treno_attuale >= s_.totale_treni)
        return false;
    const auto texts = fieldTexts();
    for (std::size_t k = 0; k < texts.size(); ++k) {
        if (*texts[k] != shown_.texts[k])
            return true;
    }
    return shown_.choices != fieldChoices();
}

void EditorLogic::redo() {
    if (!canRedo())
        return;
    if (auto change = history_.redo(s_))
        afterHistoryStep(std::move(*change));
}

void EditorLogic::afterHistoryStep(ScenarioChange change) {
    if (change.editorData) {
        EditorData restored = readEditorData(history_.editorData()).data;
        restored.links = data_.links; // kept apart, in the history's own links
        data_ = std::move(restored);
    }
    unsaved_ = true;
    afterManyTrainsChanged();
    change_ = std::move(change);
}

} // namespace zeb

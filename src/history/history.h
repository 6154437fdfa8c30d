#pragma once

#include "history/scenario_change.h"
#include "model/scenario.h"
#include "model/train_links.h"

#include <array>
#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zeb {

// The station's part of a scenario that a step may change.
struct StationData {
    std::string nome_stazione;
    std::string ora_inizio;
    std::string min_inizio;
    int numero_binari = 0;
    std::array<bool, kTrackSlots> binari_scelti{};
    std::array<VoceBinario, kTrackSlots> tabella_binari{};
    int conta_binari = 0;

    bool operator==(const StationData&) const = default;
};

// A run of stored trains replaced: at `position`, `before` was there and `after` is now.
struct Splice {
    int position;
    std::vector<Treno> before;
    std::vector<Treno> after;
};

struct StationChange {
    StationData before;
    StationData after;
};

struct LinksChange {
    TrainLinks before;
    TrainLinks after;
};

// The editor's own data of the scenario (settings, rules, …), as the text its file holds: the
// history keeps them without knowing what they are.
struct DataChange {
    std::string before;
    std::string after;
};

// One change of the scenario, as the records and station data it changed. The station's part,
// larger than a record, is held only by the steps that change it.
struct HistoryStep {
    std::string label; // "inserimento treno 2231"
    std::vector<Splice> splices;
    std::unique_ptr<StationChange> station;
    std::size_t bytes = 0; // the memory it holds
    std::unique_ptr<LinksChange> links{};
    std::unique_ptr<DataChange> data{};
};

// Undo and redo of the scenario's changes. It keeps a copy of the scenario as it was after the
// last step, and finds what a change did by comparing with it, so that a step holds only the
// records and station data it changed. At most `limit` steps are kept, and at most `byteLimit`
// bytes together with the copy: the oldest go first, the latest always stays. A new step drops
// the ones that could have been redone. Bytes are counted as the allocator takes them, and a
// large release is given back to the system.
class History {
public:
    static constexpr std::size_t kDefaultByteLimit = 256u << 20;
    explicit History(std::size_t limit = 200, std::size_t byteLimit = kDefaultByteLimit)
        : limit_(limit), byteLimit_(byteLimit) {}

    // A new, empty history over `s` and its `links` (after loading, a new scenario, closing).
    void reset(const Scenario& s, const TrainLinks& links = {});
    // Takes `s` as it is now without a step (after a save, which rewrites derived fields).
    void resync(const Scenario& s);
    // Takes the derived fields of train `index` (its type code and track position, which showing
    // a train sets) as they are now, so that an undo gives them back exactly.
    void absorbDerived(const Scenario& s, int index);
    // Records what changed since the last step as a step named `label`, the links now being
    // `links`, and says what that was; nullopt when nothing did.
    std::optional<ScenarioChange> record(const Scenario& s, std::string label,
                                         const TrainLinks& links);
    std::optional<ScenarioChange> record(const Scenario& s, std::string label) {
        return record(s, std::move(label), followLinks(s));
    }
    // The same where the editor's data may have changed too, `data` being their text now.
    std::optional<ScenarioChange> record(const Scenario& s, std::string label,
                                         const TrainLinks& links, const std::string& data);
    // The editor's data as the last step left them, and taken as they are without a step (after
    // loading).
    const std::string& editorData() const { return shadowData_; }
    void setEditorData(std::string data) { shadowData_ = std::move(data); }
    // The links as the last step left them.
    const TrainLinks& links() const { return shadowLinks_; }
    // Takes `links` as they are now without a step (after loading).
    void setLinks(const TrainLinks& links) { shadowLinks_ = links; }
    // Those links among the trains of `s` as a command left them: each train followed to its new
    // place; a link of a train removed is gone. Trains are followed as the step is found: in
    // place where their count is the same, else past the run of records that changed, and within
    // it by their records.
    TrainLinks followLinks(const Scenario& s) const;

    bool canUndo() const { return next_ > 0; }
    bool canRedo() const { return next_ < steps_.size(); }
    const std::string& undoLabel() const;
    const std::string& redoLabel() const;
    // Put `s` back as it was before the last step, or after the next one, and say what changed;
    // nullopt when there is none. `s` must be as the history last saw it.
    std::optional<ScenarioChange> undo(Scenario& s);
    std::optional<ScenarioChange> redo(Scenario& s);

    std::size_t size() const { return steps_.size(); }
    // The memory the steps and the copy of the scenario hold, records and their texts.
    std::size_t memoryBytes() const { return bytes_ + shadowBytes_; }

private:
    // Which way a step is taken: undone, or done again.
    enum class Way { Back, Forward };
    ScenarioChange apply(Scenario& s, const HistoryStep& step, Way way);
    // How many records at the start and at the end of `s` are the copy's, unchanged.
    std::pair<int, int> commonEnds(const Scenario& s) const;
    // The runs of records that differ between the copy and `s`.
    std::vector<Splice> splicesTo(const Scenario& s) const;
    // Replaces a run of the copy's records, keeping the count of their texts.
    void replaceShadowRun(int position, int count, const std::vector<Treno>& insert);
    // Counts the copy's bytes again after a change; returns how much fewer they are.
    std::size_t takeShadowBytes();

    std::size_t limit_;
    std::size_t byteLimit_;
    std::size_t bytes_ = 0;
    std::deque<HistoryStep> steps_;
    std::size_t next_ = 0; // steps before it are done, from it on undone
    std::vector<Treno> shadow_;
    std::size_t shadowBytes_ = 0;
    std::size_t shadowTextBytes_ = 0; // of the copy's texts alone
    StationData shadowStation_;
    TrainLinks shadowLinks_;
    std::string shadowData_;
};

} // namespace zeb

#include "history/history.h"

#include "model/train_removal.h"

#include <algorithm>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace zeb {

namespace {

// What the allocator takes for a block of `bytes` (glibc: a header, 16-byte steps, 32 at least).
std::size_t blockBytes(std::size_t bytes) {
    return bytes == 0 ? 0 : std::max<std::size_t>(32, (bytes + 8 + 15) & ~std::size_t{15});
}

// The memory a record's texts hold past the record: the buffers of those too long to sit in it.
std::size_t textBytes(const Treno& t) {
    std::size_t bytes = 0;
    for (const std::string* text :
         {&t.tipologia, &t.numero, &t.destinazione, &t.provenienza, &t.categoria,
          &t.indice_categoria, &t.ritardo, &t.ora_partenza, &t.ora_arrivo, &t.min_partenza,
          &t.min_arrivo, &t.binario, &t.indice_binario, &t.fermate, &t.sussidiaria,
          &t.codice_sussidiaria, &t.note})
        bytes += text->capacity() > 15 ? blockBytes(text->capacity() + 1) : 0;
    return bytes;
}

// The memory a list of records holds: its block and its texts.
std::size_t recordsBytes(const std::vector<Treno>& records) {
    std::size_t bytes = blockBytes(records.capacity() * sizeof(Treno));
    for (const Treno& t : records)
        bytes += textBytes(t);
    return bytes;
}

// The memory a step holds: itself, its label, its records, its station data.
std::size_t stepBytes(const HistoryStep& step) {
    std::size_t bytes =
        sizeof(HistoryStep) + blockBytes(step.label.capacity() + 1) +
        blockBytes(step.splices.capacity() * sizeof(Splice)) +
        (step.station ? blockBytes(sizeof(StationChange)) : 0) +
        (step.links ? blockBytes(sizeof(LinksChange)) +
                          blockBytes(step.links->before.capacity() * sizeof(TrainLink)) +
                          blockBytes(step.links->after.capacity() * sizeof(TrainLink))
                    : 0);
    if (step.data)
        bytes += blockBytes(sizeof(DataChange)) + blockBytes(step.data->before.capacity() + 1) +
                 blockBytes(step.data->after.capacity() + 1);
    for (const Splice& splice : step.splices)
        bytes += recordsBytes(splice.before) + recordsBytes(splice.after);
    return bytes;
}

// Gives the allocator's free memory back to the system after a large release, where it can.
void returnFreedMemory(std::size_t freed) {
#ifdef __GLIBC__
    if (freed >= (1u << 20))
        malloc_trim(0);
#else
    (void)freed;
#endif
}

StationData stationOf(const Scenario& s) {
    return {s.nome_stazione, s.ora_inizio,     s.min_inizio,  s.numero_binari,
            s.binari_scelti, s.tabella_binari, s.conta_binari};
}

void applyStation(Scenario& s, const StationData& d) {
    s.nome_stazione = d.nome_stazione;
    s.ora_inizio = d.ora_inizio;
    s.min_inizio = d.min_inizio;
    s.numero_binari = d.numero_binari;
    s.binari_scelti = d.binari_scelti;
    s.tabella_binari = d.tabella_binari;
    s.conta_binari = d.conta_binari;
}

// The fields a command means to change; the type code (written by a save) and the track's
// list position (derived when a train is shown) are not a change of their own.
bool sameTrain(const Treno& a, const Treno& b) {
    Treno x = a;
    x.tipologia = b.tipologia;
    x.indice_binario = b.indice_binario;
    return x == b;
}

// Replaces `count` records at `position` of the first `total` of `trains` with `insert`.
void replaceRun(std::vector<Treno>& trains, int& total, int position, int count,
                const std::vector<Treno>& insert) {
    const int delta = static_cast<int>(insert.size()) - count;
    // Swapped, so that the records dropped end past the run and are freed there.
    if (delta > 0) {
        for (int i = total - 1; i >= position + count; --i)
            std::swap(trains[static_cast<std::size_t>(i + delta)],
                      trains[static_cast<std::size_t>(i)]);
    } else if (delta < 0) {
        for (int i = position + count; i < total; ++i)
            std::swap(trains[static_cast<std::size_t>(i + delta)],
                      trains[static_cast<std::size_t>(i)]);
        for (int i = total + delta; i < total; ++i)
            clearTrain(trains[static_cast<std::size_t>(i)]);
    }
    std::copy(insert.begin(), insert.end(), trains.begin() + position);
    total += delta;
}

void replaceRun(std::vector<Treno>& shadow, int position, int count,
                const std::vector<Treno>& insert) {
    shadow.erase(shadow.begin() + position, shadow.begin() + position + count);
    shadow.insert(shadow.begin() + position, insert.begin(), insert.end());
}

const std::string kNoLabel;

// The news of a step: its runs as they were replaced, forward or back.
ScenarioChange changeOf(const HistoryStep& step, bool forward) {
    ScenarioChange change;
    change.station = step.station != nullptr;
    change.links = step.links != nullptr;
    change.editorData = step.data != nullptr;
    for (const Splice& splice : step.splices) {
        const int before = static_cast<int>(splice.before.size());
        const int after = static_cast<int>(splice.after.size());
        change.runs.push_back(forward ? TrainRun{splice.position, before, after}
                                      : TrainRun{splice.position, after, before});
    }
    if (!forward)
        std::reverse(change.runs.begin(), change.runs.end());
    return change;
}

} // namespace

void History::reset(const Scenario& s, const TrainLinks& links) {
    steps_.clear();
    bytes_ = 0;
    next_ = 0;
    shadowLinks_ = links;
    shadowData_.clear();
    resync(s);
}

TrainLinks History::followLinks(const Scenario& s) const {
    const int oldCount = static_cast<int>(shadow_.size());
    const int newCount = s.totale_treni;
    if (shadowLinks_.empty() || oldCount == newCount)
        return shadowLinks_;
    // Where each record went: the same place before the run, shifted after it, and within it
    // matched in order, the records of the side that lost some skipped.
    std::vector<int> moved(static_cast<std::size_t>(oldCount), -1);
    const auto [first, tail] = commonEnds(s);
    for (int k = 0; k < first; ++k)
        moved[static_cast<std::size_t>(k)] = k;
    for (int k = 0; k < tail; ++k)
        moved[static_cast<std::size_t>(oldCount - 1 - k)] = newCount - 1 - k;
    for (int a = first, b = first; a < oldCount - tail && b < newCount - tail;) {
        if (sameTrain(shadow_[static_cast<std::size_t>(a)], s.treni[b]))
            moved[static_cast<std::size_t>(a++)] = b++;
        else if (oldCount > newCount)
            ++a;
        else
            ++b;
    }
    TrainLinks links;
    for (const TrainLink& link : shadowLinks_) {
        const int arriving = moved[static_cast<std::size_t>(link.arriving)];
        const int leaving = moved[static_cast<std::size_t>(link.leaving)];
        if (arriving >= 0 && leaving >= 0)
            links.push_back({arriving, leaving});
    }
    return links;
}

void History::resync(const Scenario& s) {
    shadow_.assign(s.treni.begin(), s.treni.begin() + s.totale_treni);
    shadow_.shrink_to_fit();
    shadowStation_ = stationOf(s);
    shadowBytes_ = recordsBytes(shadow_);
    shadowTextBytes_ = shadowBytes_ - blockBytes(shadow_.capacity() * sizeof(Treno));
}

void History::absorbDerived(const Scenario& s, int index) {
    if (index < 0 || index >= static_cast<int>(shadow_.size()) || index >= s.totale_treni)
        return;
    Treno& kept = shadow_[static_cast<std::size_t>(index)];
    shadowTextBytes_ -= textBytes(kept);
    kept.tipologia = s.treni[index].tipologia;
    kept.indice_binario = s.treni[index].indice_binario;
    shadowTextBytes_ += textBytes(kept);
}

std::pair<int, int> History::commonEnds(const Scenario& s) const {
    const int oldCount = static_cast<int>(shadow_.size());
    const int newCount = s.totale_treni;
    int first = 0;
    while (first < std::min(oldCount, newCount) &&
           sameTrain(shadow_[static_cast<std::size_t>(first)], s.treni[first]))
        ++first;
    int tail = 0;
    while (tail < std::min(oldCount, newCount) - first &&
           sameTrain(shadow_[static_cast<std::size_t>(oldCount - 1 - tail)],
                     s.treni[newCount - 1 - tail]))
        ++tail;
    return {first, tail};
}

std::vector<Splice> History::splicesTo(const Scenario& s) const {
    const int oldCount = static_cast<int>(shadow_.size());
    const int newCount = s.totale_treni;
    std::vector<Splice> splices;
    if (oldCount != newCount) {
        // Trains added or removed: the run between the common start and the common end.
        const auto [first, tail] = commonEnds(s);
        splices.push_back({first,
                           {shadow_.begin() + first, shadow_.begin() + (oldCount - tail)},
                           {s.treni.begin() + first, s.treni.begin() + (newCount - tail)}});
        return splices;
    }
    // One splice per run of changed records.
    for (int i = 0; i < newCount;) {
        if (sameTrain(shadow_[static_cast<std::size_t>(i)], s.treni[i])) {
            ++i;
            continue;
        }
        Splice splice{i, {}, {}};
        for (; i < newCount && !sameTrain(shadow_[static_cast<std::size_t>(i)], s.treni[i]); ++i) {
            splice.before.push_back(shadow_[static_cast<std::size_t>(i)]);
            splice.after.push_back(s.treni[i]);
        }
        splices.push_back(std::move(splice));
    }
    return splices;
}

std::optional<ScenarioChange> History::record(const Scenario& s, std::string label,
                                              const TrainLinks& links) {
    return record(s, std::move(label), links, shadowData_);
}

std::optional<ScenarioChange> History::record(const Scenario& s, std::string label,
                                              const TrainLinks& links, const std::string& data) {
    HistoryStep step{std::move(label), {}, nullptr};
    if (links != shadowLinks_)
        step.links = std::make_unique<LinksChange>(LinksChange{shadowLinks_, links});
    if (data != shadowData_)
        step.data = std::make_unique<DataChange>(DataChange{shadowData_, data});
    const StationData station = stationOf(s);
    if (!(station == shadowStation_))
        step.station = std::make_unique<StationChange>(StationChange{shadowStation_, station});
    step.splices = splicesTo(s);
    if (step.splices.empty() && !step.station && !step.links && !step.data)
        return std::nullopt;
    ScenarioChange change = changeOf(step, true);
    if (step.links)
        shadowLinks_ = links;
    if (step.data)
        shadowData_ = data;
    for (const Splice& splice : step.splices)
        replaceShadowRun(splice.position, static_cast<int>(splice.before.size()), splice.after);
    shadowStation_ = station;
    std::size_t freed = takeShadowBytes(); // by the copy, and the steps dropped
    auto drop = [&](const HistoryStep& gone) {
        freed += gone.bytes;
        bytes_ -= gone.bytes;
    };
    while (steps_.size() > next_) {
        drop(steps_.back());
        steps_.pop_back();
    }
    step.bytes = stepBytes(step);
    bytes_ += step.bytes;
    steps_.push_back(std::move(step));
    while (steps_.size() > 1 && (steps_.size() > limit_ || memoryBytes() > byteLimit_)) {
        drop(steps_.front());
        steps_.pop_front();
    }
    next_ = steps_.size();
    returnFreedMemory(freed);
    return change;
}

void History::replaceShadowRun(int position, int count, const std::vector<Treno>& insert) {
    const auto first = shadow_.begin() + position;
    for (auto t = first; t != first + count; ++t)
        shadowTextBytes_ -= textBytes(*t);
    replaceRun(shadow_, position, count, insert);
    for (auto t = shadow_.begin() + position;
         t != shadow_.begin() + position + static_cast<long>(insert.size()); ++t)
        shadowTextBytes_ += textBytes(*t);
}

std::size_t History::takeShadowBytes() {
    const std::size_t before = shadowBytes_;
    shadowBytes_ = shadowTextBytes_ + blockBytes(shadow_.capacity() * sizeof(Treno));
    return before > shadowBytes_ ? before - shadowBytes_ : 0;
}

const std::string& History::undoLabel() const {
    return canUndo() ? steps_[next_ - 1].label : kNoLabel;
}

const std::string& History::redoLabel() const {
    return canRedo() ? steps_[next_].label : kNoLabel;
}

std::optional<ScenarioChange> History::undo(Scenario& s) {
    if (!canUndo())
        return std::nullopt;
    return apply(s, steps_[--next_], Way::Back);
}

std::optional<ScenarioChange> History::redo(Scenario& s) {
    if (!canRedo())
        return std::nullopt;
    return apply(s, steps_[next_++], Way::Forward);
}

ScenarioChange History::apply(Scenario& s, const HistoryStep& step, Way way) {
    const bool forward = way == Way::Forward;
    auto one = [&](const Splice& splice) {
        const auto& from = forward ? splice.before : splice.after;
        const auto& to = forward ? splice.after : splice.before;
        replaceRun(s.treni, s.totale_treni, splice.position, static_cast<int>(from.size()), to);
        replaceShadowRun(splice.position, static_cast<int>(from.size()), to);
    };
    if (forward)
        std::for_each(step.splices.begin(), step.splices.end(), one);
    else
        std::for_each(step.splices.rbegin(), step.splices.rend(), one);
    if (step.station) {
        applyStation(s, forward ? step.station->after : step.station->before);
        shadowStation_ = stationOf(s);
    }
    if (step.links)
        shadowLinks_ = forward ? step.links->after : step.links->before;
    if (step.data)
        shadowData_ = forward ? step.data->after : step.data->before;
    returnFreedMemory(takeShadowBytes());
    return changeOf(step, forward);
}

} // namespace zeb

#pragma once

#include "model/scenario.h"
#include "model/train_links.h"

#include <optional>
#include <string>
#include <vector>

namespace zeb {

// A link asked by the other train's number: the nearest in time of those that may be linked that
// way, or why there is none, in a sentence.
struct PartnerByNumber {
    std::optional<int> other;
    std::string refusal;
};
PartnerByNumber partnerByNumber(const Scenario& s, const TrainLinks& links, int train,
                                LinkSide side, const std::string& number);

// The question before linking `train` to `other` where it would break another unit, naming both
// links; nullopt where nothing else breaks.
std::optional<std::string> brokenUnitQuestion(const Scenario& s, const TrainLinks& links, int train,
                                              LinkSide side, int other);

// The links once `train` is linked that way to `other` (none: unlinked), and the step's name for
// Annulla.
struct LinkStep {
    TrainLinks links;
    std::string label;
};
LinkStep linkStep(const Scenario& s, const TrainLinks& links, int train, LinkSide side,
                  std::optional<int> other);

// "Collega a…": the trains that may be linked, each as a line ("2002 10:20, binario 1 (20 min)",
// marked where it is linked to another already), in the order linkCandidates gives; the
// question above them; or, where there is none, why.
struct LinkChoices {
    std::vector<int> trains;
    std::vector<std::string> lines;
    std::string question;
    std::string none;
};
LinkChoices linkChoices(const Scenario& s, const TrainLinks& links, int train, LinkSide side);

} // namespace zeb

#include "document/link_commands.h"

#include "timetable/train_links.h"
#include "timetable/train_times.h"
#include "timetable/turnaround_pairs.h"

namespace zeb {

namespace {

bool onward(LinkSide side) {
    return side == LinkSide::Onward;
}

TrainLink linkOf(int train, LinkSide side, int other) {
    return onward(side) ? TrainLink{train, other} : TrainLink{other, train};
}

} // namespace

PartnerByNumber partnerByNumber(const Scenario& s, const TrainLinks& links, int train,
                                LinkSide side, const std::string& number) {
    for (int candidate : linkCandidates(s, links, train, side)) {
        if (s.treni[candidate].numero == number)
            return {candidate, {}};
    }
    return {std::nullopt,
            "Nessun treno " + number + (onward(side) ? " parte" : " termina") +
                " qui: " + s.treni[train].numero +
                (onward(side) ? " non può proseguire come " : " non può provenire da ") + number +
                "."};
}

std::optional<std::string> brokenUnitQuestion(const Scenario& s, const TrainLinks& links, int train,
                                              LinkSide side, int other) {
    const auto displaced = displacedLink(links, train, side, other);
    if (!displaced)
        return std::nullopt;
    return s.treni[other].numero + " è già collegato: " + unitLabel(s, *displaced) +
           ". Collegando " + unitLabel(s, linkOf(train, side, other)) +
           " quel collegamento si scioglie. Continuare?";
}

LinkStep linkStep(const Scenario& s, const TrainLinks& links, int train, LinkSide side,
                  std::optional<int> other) {
    return {relinked(links, train, side, other),
            other ? "collegamento " + unitLabel(s, linkOf(train, side, *other))
                  : "scollegamento treno " + s.treni[train].numero};
}

LinkChoices linkChoices(const Scenario& s, const TrainLinks& links, int train, LinkSide side) {
    LinkChoices choices;
    choices.trains = linkCandidates(s, links, train, side);
    if (choices.trains.empty())
        choices.none = onward(side) ? "Nessun treno parte da qui." : "Nessun treno termina qui.";
    choices.question = s.treni[train].numero + (onward(side) ? " prosegue come:" : " proviene da:");
    for (int other : choices.trains) {
        const Treno& t = s.treni[other];
        choices.lines.push_back(
            numberAndTime(t) + ", " +
            (t.binario.empty() ? std::string("senza binario") : "binario " + t.binario) + " (" +
            std::to_string(standingMinutes(s, linkOf(train, side, other)).value_or(0)) + " min)" +
            (displacedLink(links, train, side, other)
                 ? ", già collegato a " + s.treni[unitPartner(links, other)].numero
                 : std::string()));
    }
    return choices;
}

} // namespace zeb

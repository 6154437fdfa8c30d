#include "document/link_commands.h"

#include "timetable/test_trains.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

// 2001 ends on track 1 at 10:00; 2002 leaves track 2 soonest, 2004 track 1 later, 2006 track 1
// later still but is linked to 2005 already.
Scenario terminus() {
    return test::stationWith({{"2001", "Nordia", "10:00", "", "", "1"},
                              {"2002", "", "", "Nordia", "10:10", "2"},
                              {"2004", "", "", "Nordia", "10:40", "1"},
                              {"2005", "Sudia", "9:00", "", "", "1"},
                              {"2006", "", "", "Sudia", "10:50", "1"}});
}

// "Collega a…" offers the free trains of the track first, then the others, a linked one last and
// marked; choosing it asks first, naming the link it breaks.
TEST(LinkCommands, ChoicesComeFreeOnTheTrackFirstAndALinkedOneIsNamed) {
    const Scenario s = terminus();
    const TrainLinks links{{3, 4}};
    const LinkChoices choices = linkChoices(s, links, 0, LinkSide::Onward);
    EXPECT_EQ(choices.question, "2001 prosegue come:");
    ASSERT_EQ(choices.lines.size(), 3u);
    EXPECT_EQ(choices.lines[0], "2004 10:40, binario 1 (40 min)");
    EXPECT_EQ(choices.lines[1], "2002 10:10, binario 2 (10 min)");
    EXPECT_EQ(choices.lines[2], "2006 10:50, binario 1 (50 min), già collegato a 2005");
    EXPECT_EQ(brokenUnitQuestion(s, links, 0, LinkSide::Onward, 4),
              "2006 è già collegato: 2005→2006. Collegando 2001→2006 quel collegamento si "
              "scioglie. Continuare?");
    EXPECT_EQ(brokenUnitQuestion(s, links, 0, LinkSide::Onward, 2), std::nullopt);
    EXPECT_EQ(linkChoices(s, links, 2, LinkSide::Onward).none, "Nessun treno parte da qui.");
}

TEST(LinkCommands, ByNumberTheStepAndItsName) {
    const Scenario s = terminus();
    const struct {
        int train;
        LinkSide side;
        const char* number;
        std::optional<int> other;
        const char* refusal;
    } cases[] = {
        {0, LinkSide::Onward, "2006", 4, ""},
        {4, LinkSide::Back, "2001", 0, ""},
        {0, LinkSide::Onward, "2005", std::nullopt,
         "Nessun treno 2005 parte qui: 2001 non può proseguire come 2005."},
        {2, LinkSide::Back, "9", std::nullopt,
         "Nessun treno 9 termina qui: 2004 non può provenire da 9."},
    };
    for (const auto& c : cases) {
        const PartnerByNumber found = partnerByNumber(s, {}, c.train, c.side, c.number);
        EXPECT_EQ(found.other, c.other) << c.number;
        EXPECT_EQ(found.refusal, c.refusal) << c.number;
    }
    const LinkStep linked = linkStep(s, {{3, 4}}, 0, LinkSide::Onward, 4);
    EXPECT_EQ(linked.links, (TrainLinks{{0, 4}}));
    EXPECT_EQ(linked.label, "collegamento 2001→2006");
    const LinkStep unlinked = linkStep(s, linked.links, 4, LinkSide::Back, std::nullopt);
    EXPECT_TRUE(unlinked.links.empty());
    EXPECT_EQ(unlinked.label, "scollegamento treno 2006");
}

} // namespace
} // namespace zeb

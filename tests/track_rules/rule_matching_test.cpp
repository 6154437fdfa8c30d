#include "track_rules/rule_matching.h"

#include "timetable/test_trains.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>

namespace zeb {
namespace {

TrackRule ruleFor(std::string categoria, std::string from, std::string to, RulePassage tipo,
                  int dalle = -1, int alle = -1) {
    return {std::move(categoria), std::move(from), std::move(to), tipo, dalle, alle, {"1"}, {}};
}

// A place's wildcards take exactly what a regular expression of the same pattern takes, for
// random patterns of letters and stars over random names.
TEST(RuleMatching, WildcardsTakeWhatARegularExpressionTakes) {
    std::mt19937 random(7);
    auto word = [&](std::string_view letters, int longest) {
        std::string text(random() % (longest + 1), ' ');
        for (char& c : text)
            c = letters[random() % letters.size()];
        return text;
    };
    for (int round = 0; round < 300; ++round) {
        std::string pattern = word("ab*", 7);
        if (pattern.empty())
            continue; // no pattern: any place
        std::vector<test::Train> trains;
        for (int k = 0; k < 20; ++k)
            trains.push_back({std::to_string(k + 1), "x" + word("ab", 9), "07:00", "", "", "1"});
        const Scenario s = test::stationWith(trains);
        const std::vector<int> ruleOf =
            rulesOfTrains(s, {ruleFor("", "x" + pattern, "", RulePassage::Any)});
        const std::regex expression(
            "x" + std::regex_replace(pattern, std::regex("\\*"), std::string(".*")));
        for (int i = 0; i < s.totale_treni; ++i)
            EXPECT_EQ(ruleOf[static_cast<std::size_t>(i)] == 0,
                      std::regex_match(s.treni[i].provenienza, expression))
                << pattern << " " << s.treni[i].provenienza;
    }
}

// Which rule takes a train: every part a rule gives must match, the first rule matching decides.
TEST(RuleMatching, EveryPartMustMatch) {
    const Scenario s =
        test::stationWith({{"1", "Città Alta", "07:40", "Aeroporto", "07:45", "1"},
                           {"2", "Nordo", "23:50", "", "", "1"},
                           {"3", "", "", "Lido", "00:10", "1"},
                           {"4", "Lido", "12:00", "Pieve", "12:02", "1", "Autobus"},
                           {"5", "Lido", "12:00", "Pieve", "12:02", "1", "Regionale", "", "1"}});
    const struct {
        const char* name;
        TrackRule rule;
        std::vector<int> trains; // those it takes
    } cases[] = {
        {"no part: every train with a track", ruleFor("", "", "", RulePassage::Any), {0, 1, 2}},
        {"accents and letter case aside", ruleFor("", "CITTA alta", "", RulePassage::Any), {0}},
        {"a wildcard", ruleFor("", "", "*port*", RulePassage::Any), {0}},
        {"a wildcard that must end the name", ruleFor("", "n*o", "", RulePassage::Any), {1}},
        {"the category", ruleFor("Eurostar", "", "", RulePassage::Any), {}},
        {"trains that end here", ruleFor("", "", "", RulePassage::Ends), {1}},
        {"trains that start here", ruleFor("", "", "", RulePassage::Starts), {2}},
        {"trains that pass", ruleFor("", "", "", RulePassage::Passes), {0}},
        {"a window round midnight", ruleFor("", "", "", RulePassage::Any, 23 * 60, 30), {1, 2}},
        {"both ends of the window belong to it",
         ruleFor("", "", "", RulePassage::Any, 7 * 60 + 40, 23 * 60 + 50),
         {0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<int> ruleOf = rulesOfTrains(s, {c.rule});
        std::vector<int> taken;
        for (int i = 0; i < s.totale_treni; ++i)
            if (ruleOf[static_cast<std::size_t>(i)] == 0)
                taken.push_back(i);
        EXPECT_EQ(taken, c.trains);
    }
    // The first that matches decides, the second takes only the rest.
    const TrackRules two = {ruleFor("", "", "", RulePassage::Ends),
                            ruleFor("", "", "", RulePassage::Any)};
    EXPECT_EQ(rulesOfTrains(s, two), (std::vector<int>{1, 0, 1, -1, -1}));
    EXPECT_EQ(trainsPerRuleText(s, two), "regola 1: 1 treno, regola 2: 2 treni; nessun treno "
                                         "senza regola");
    EXPECT_EQ(trainsPerRuleText(s, {}), "Nessuna regola: 3 treni usano qualunque binario");
}

TEST(RuleMatching, TheCheckerNamesTrainsOnAForbiddenTrack) {
    Scenario s = test::stationWith({{"2231", "Nordo", "07:40", "Lido", "07:45", "2"},
                                    {"2233", "Nordo", "08:40", "Lido", "08:45", "1"},
                                    {"2235", "Pieve", "09:40", "Lido", "09:45", "2"}});
    TrackRules rules = {ruleFor("", "Pieve", "", RulePassage::Any),
                        ruleFor("", "", "", RulePassage::Any),
                        ruleFor("", "nordo", "", RulePassage::Any)};
    rules[2].preferiti = {"1"};
    rules[2].ammessi = {"3"};
    rules[0].ammessi = {"2"};
    const std::vector<Finding> findings = ruleFindings(s, rules);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].message, "2231 sul binario 2, che la regola 2 non ammette");
    EXPECT_EQ(findings[0].severity, Severity::Warning);
    EXPECT_EQ(findings[0].trains, std::vector<int>{0});
    EXPECT_EQ(trackStanding(rules[2], "3"), TrackStanding::Allowed);
    EXPECT_EQ(trackStanding(rules[0], "1"), TrackStanding::FirstPreferred);
}

} // namespace
} // namespace zeb

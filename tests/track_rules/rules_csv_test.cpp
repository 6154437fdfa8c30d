#include "track_rules/rules_csv.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

const std::vector<std::string> kTracks = {"1", "2", "3", "4", "5", "1tronco"};
const std::string kHeader =
    "\xEF\xBB\xBF"
    "categoria;provenienza;destinazione;tipo;dalle;alle;preferiti;ammessi\r\n";

// What the dialog makes the export writes and the import reads back the same.
TEST(RulesCsv, ExportedRulesImportTheSame) {
    const TrackRules rules = {
        {"Suburbano", "*", "Aeroporto", RulePassage::Passes, 7 * 60 + 40, 30, {"4", "5"}, {"3"}},
        {"", "Borgo; \"Nuovo\"", "", RulePassage::Ends, -1, -1, {"1tronco"}, {}},
        {"", "", "", RulePassage::Starts, -1, -1, {}, {"1", "2"}},
    };
    const std::string text = rulesCsv(rules);
    EXPECT_TRUE(text.starts_with(kHeader));
    EXPECT_NE(text.find("\r\nSuburbano;*;Aeroporto;passa;07:40;00:30;4 5;3\r\n"),
              std::string::npos);
    const RulesImport read = importRulesCsv(text, kTracks);
    EXPECT_TRUE(read.errors.empty()) << read.errors.front();
    EXPECT_EQ(read.rules, rules);
}

// A bad file is refused whole, each fault with its row and column.
TEST(RulesCsv, ABadFileIsRefusedWithRowAndColumn) {
    const struct {
        const char* rows;
        std::string error;
    } cases[] = {
        {"Treno;;;;;;1;\r\n", "Riga 3, categoria: «Treno» non è una categoria: vanno bene "
                              "Autobus, Cisalpino, Diretto, Espresso, Eurocity, Euronight, "
                              "Eurostar, Eurostar Link, Intercity, Intercity Notte, Intercity "
                              "Plus, Interregionale, MetroNapoli, Regionale, Suburbano, TrenOK, o "
                              "nulla per tutte"},
        {";;;sosta;;;1;\r\n", "Riga 3, tipo: «sosta» non è un tipo: vanno bene passa, termina, "
                              "parte, o nulla per tutti"},
        {";;;;7:40;;1;\r\n", "Riga 3: dalle e alle vanno date insieme, o nessuna delle due"},
        {";;;;7.40;8:00;1;\r\n", "Riga 3, dalle: «7.40» non è un'ora: si scrive come 7:40"},
        {";;;;;;;\r\n", "Riga 3: la regola non dà nessun binario: ne vieterebbe tutti"},
        {";;;;;;4 12;\r\n", "Riga 3, preferiti: «12» non è un binario della stazione: ci sono 1, "
                            "2, 3, 4, 5, 1tronco"},
        {";;;;;;4 4;\r\n", "Riga 3, preferiti: il binario 4 compare due volte"},
        {";;;;;;4;4\r\n", "Riga 3: il binario 4 è sia preferito sia ammesso"},
        {"\r\n;;;;;;1\r\n", "Riga 4: ha 7 campi, ne servono 8"},
    };
    for (const auto& c : cases) { // after a good rule on row 2
        const RulesImport read = importRulesCsv(kHeader + ";;;;;;1;\r\n" + c.rows, kTracks);
        ASSERT_EQ(read.errors.size(), 1u) << c.rows;
        EXPECT_EQ(read.errors.front(), c.error) << c.rows;
        EXPECT_TRUE(read.rules.empty());
    }
    EXPECT_EQ(importRulesCsv("categoria;tipo\r\n", kTracks).errors.front(),
              "Riga 1: le intestazioni devono essere categoria;provenienza;destinazione;tipo;"
              "dalle;alle;preferiti;ammessi");
    EXPECT_EQ(importRulesCsv("", kTracks).errors.front(),
              "Il file è vuoto: manca anche la riga delle intestazioni");
    // Twenty-one faults: twenty said, then how many more.
    std::string many = kHeader;
    for (int k = 0; k < 22; ++k)
        many += ";;;x;;;1;\r\n";
    const RulesImport read = importRulesCsv(many, kTracks);
    ASSERT_EQ(read.errors.size(), 21u);
    EXPECT_EQ(read.errors.back(), "… e altri 2 errori");
    // More rules than the editor's data keep: refused whole, not lost at the next save.
    std::string tooMany = kHeader;
    for (std::size_t k = 0; k <= kMostTrackRules; ++k)
        tooMany += ";;;;;;1;\r\n";
    const RulesImport refused = importRulesCsv(tooMany, kTracks);
    EXPECT_TRUE(refused.rules.empty());
    EXPECT_EQ(refused.errors, std::vector<std::string>{"Il file ha più di 10000 regole, più di "
                                                       "quante l'editor ne possa conservare"});
}

} // namespace
} // namespace zeb

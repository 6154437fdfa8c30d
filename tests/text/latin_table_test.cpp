#include "text/latin_table.h"


#include <gtest/gtest.h>

namespace zeb {
namespace {

TEST(LatinTable, KeepsWhatItDoesNotKnowAndMendsBrokenBytes) {
    const struct {
        std::string text;
        std::string latin;
    } cases[] = {
        {"Wrocław Główny", "Wroclaw Glowny"},
        {"Łódź Kaliska – «Ω»", "Lodz Kaliska - <<Ω>>"},
        {"Straße", "Strasse"},
        {"A\xFF"
         "B",
         "A\xEF\xBF\xBD"
         "B"},
        {"", ""},
    };
    for (const auto& row : cases)
        EXPECT_EQ(latinLettersByTable(row.text, false), row.latin) << row.text;
    EXPECT_EQ(latinLettersByTable("Città ÀÉ", true), "citta ae");
}

} // namespace
} // namespace zeb

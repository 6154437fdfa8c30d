#include "text/latin_table.h"

#include "scenario_file/windows1252.h"
#include "text/latin_letters.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zeb {
namespace {

// The table stands in for ICU where ICU is missing: wherever ICU gives plain letters, it gives the
// same, code point by code point and in lower case too.
TEST(LatinTable, GivesWhatIcuGivesForEveryCodePointItKnows) {
    int known = 0;
    for (const auto& [first, last] : {std::pair<char32_t, char32_t>{0x00A0, 0x024F},
                                      {0x1E00, 0x1EFF},
                                      {0x2000, 0x206F},
                                      {0x20A0, 0x20CF}}) {
        for (char32_t c = first; c <= last; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            std::string text;
            appendUtf8(text, c);
            const std::string icu = inLatinLetters(text, false);
            const bool plain = std::all_of(icu.begin(), icu.end(), [](char ch) {
                return static_cast<unsigned char>(ch) < 0x80;
            });
            const char* table = latinLettersOf(c);
            if (!plain || icu == text) {
                EXPECT_EQ(table, nullptr) << std::hex << static_cast<unsigned>(c);
                continue;
            }
            ++known;
            EXPECT_EQ(table ? std::string(table) : "(none)", icu) << std::hex << unsigned(c);
            EXPECT_EQ(latinLettersByTable(text, true), inLatinLetters(text, true));
        }
    }
    EXPECT_GT(known, 600);
}

} // namespace
} // namespace zeb

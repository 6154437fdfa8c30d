#include "text/latin_letters.h"

#include "model/value_tables.h"
#include "text/latin_table.h"

#include <algorithm>

namespace zeb {

// Without ICU: the Latin letters with accents and the usual signs by the table, other scripts
// kept as they are.
std::string inLatinLetters(std::string_view utf8, bool lowerCase) {
    return latinLettersByTable(utf8, lowerCase);
}

std::string searchKey(std::string_view utf8) {
    if (std::all_of(utf8.begin(), utf8.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return lowered(utf8);
    return latinLettersByTable(utf8, true);
}

} // namespace zeb

#include "text/latin_letters.h"

#include "text/latin_table.h"

namespace zeb {

// Without ICU: the Latin letters with accents and the usual signs by the table, other scripts
// kept as they are.
std::string inLatinLetters(std::string_view utf8, bool lowerCase) {
    return latinLettersByTable(utf8, lowerCase);
}

} // namespace zeb

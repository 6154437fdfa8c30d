#pragma once

#include <string>
#include <string_view>

namespace zeb {

// A code point of the Latin, punctuation and currency blocks in Latin letters without accents,
// as ICU's "Any-Latin; Latin-ASCII" writes it ("ł" gives "l", "Æ" gives "AE", "€" gives "EUR");
// nullptr for one that it keeps as it is, or that lies outside those blocks.
const char* latinLettersOf(char32_t c);

// `utf8` with every code point that the table knows in its Latin letters and the rest kept, in
// lower case where asked (of the plain letters only); a byte that is no UTF-8 becomes U+FFFD.
std::string latinLettersByTable(std::string_view utf8, bool lowerCase);

} // namespace zeb

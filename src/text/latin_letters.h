#pragma once

#include <string>
#include <string_view>

namespace zeb {

// `utf8` in Latin letters without accents ("Łódź" gives "Lodz"), in lower case where asked.
std::string inLatinLetters(std::string_view utf8, bool lowerCase);

// `utf8` folded for a search: in Latin letters without accents, in lower case ("Wrocław Główny"
// gives "wroclaw glowny").
std::string searchKey(std::string_view utf8);

} // namespace zeb

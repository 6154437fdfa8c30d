#pragma once

#include "model/treno.h"
#include "scenario_file/windows1252.h"

#include <string>

namespace zeb::test {

// A text of `t` that is not one line of characters Windows-1252 defines (no control, no byte it
// leaves undefined), or empty when each is: what every importer must bring in.
inline std::string textNotClean(const Treno& t) {
    for (const std::string* text :
         {&t.numero, &t.provenienza, &t.destinazione, &t.categoria, &t.ritardo, &t.ora_arrivo,
          &t.min_arrivo, &t.ora_partenza, &t.min_partenza, &t.binario, &t.fermate, &t.sussidiaria,
          &t.note}) {
        for (std::size_t pos = 0; pos < text->size();) {
            const auto cp = nextCodePoint(*text, pos);
            if (!cp || !isWindows1252Character(*cp))
                return "«" + *text + "»";
        }
    }
    return {};
}

} // namespace zeb::test

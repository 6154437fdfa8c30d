#pragma once

#include "model/scenario.h"
#include "scenario_file/windows1252.h"

#include <string>

namespace zeb::test {

// The field of `t` that is not one line of characters Windows-1252 defines (no control, no
// byte it leaves undefined), or empty when each is: what every importer must bring in.
inline std::string fieldNotClean(const Treno& t) {
    const std::pair<const char*, const std::string*> fields[] = {{"numero", &t.numero},
                                                                 {"provenienza", &t.provenienza},
                                                                 {"destinazione", &t.destinazione},
                                                                 {"categoria", &t.categoria},
                                                                 {"ritardo", &t.ritardo},
                                                                 {"ora_arrivo", &t.ora_arrivo},
                                                                 {"min_arrivo", &t.min_arrivo},
                                                                 {"ora_partenza", &t.ora_partenza},
                                                                 {"min_partenza", &t.min_partenza},
                                                                 {"binario", &t.binario},
                                                                 {"fermate", &t.fermate},
                                                                 {"sussidiaria", &t.sussidiaria},
                                                                 {"note", &t.note}};
    for (const auto& [name, text] : fields) {
        for (std::size_t pos = 0; pos < text->size();) {
            const auto cp = nextCodePoint(*text, pos);
            if (!cp || !isWindows1252Character(*cp))
                return std::string(name) + " «" + *text + "»";
        }
    }
    return {};
}

} // namespace zeb::test

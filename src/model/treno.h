#pragma once

#include <string>

namespace zeb {

// One train. Every value is text, numbers included, exactly as the editor's controls give it.
// The field order is the order in which records are copied and compared.
struct Treno {
    std::string tipologia; // "0" starts here, "1" ends here, "2" passes through
    std::string numero;
    std::string destinazione;     // empty: the train ends at the simulated station
    std::string provenienza;      // empty: the train starts at the simulated station
    std::string categoria;        // one of the 16 category names
    std::string indice_categoria; // list position of categoria, "0" to "15"
    std::string ritardo;          // delay index "0" to "4"
    std::string ora_partenza;
    std::string ora_arrivo;
    std::string min_partenza;
    std::string min_arrivo;
    std::string binario;            // track name; "99" after loading a track-less category
    std::string indice_binario;     // list position of binario, derived when the train is shown
    std::string fermate;            // stops, ended by ",."
    std::string sussidiaria;        // subsidiary-indication description
    std::string codice_sussidiaria; // its code "0" to "10"
    std::string note;

    bool operator==(const Treno&) const = default;
};

} // namespace zeb

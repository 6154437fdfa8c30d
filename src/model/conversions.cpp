#include "model/conversions.h"

#include "model/value_tables.h"

#include <algorithm>
#include <string>

namespace zeb {

void Categoria_Combo(Scenario& s) {
    Treno& t = s.treni.at(s.treno_in_uso);
    if (auto pos = positionIn(kCategorie, t.categoria))
        t.indice_categoria = std::to_string(*pos);
}

void Sussi_Combo(Scenario& s) {
    Treno& t = s.treni.at(s.treno_in_uso);
    if (auto code = positionIn(kSussidiarie, t.sussidiaria))
        t.codice_sussidiaria = std::to_string(*code);
}

void Combo_Sussi(Scenario& s) {
    Treno& t = s.treni.at(s.treno_in_uso);
    if (auto code = listPosition(t.codice_sussidiaria, static_cast<int>(kSussidiarie.size())))
        t.sussidiaria.assign(kSussidiarie[*code]);
}

void Binario_Combo(Scenario& s) {
    Treno& t = s.treni.at(s.treno_attuale);
    const int entries = std::clamp(s.numero_binari, 0, kTrackSlots);
    for (int k = 0; k < entries; ++k) {
        if (s.tabella_binari[k].nome == t.binario)
            t.indice_binario = s.tabella_binari[k].posizione;
    }
}

} // namespace zeb

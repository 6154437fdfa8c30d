#pragma once

#include "model/scenario.h"

namespace zeb {

// The conversions between a train's list texts and the positions stored beside them.
// Each works on one record chosen by the scenario's index globals, as the editor sets them,
// and leaves the target unchanged when its input matches no entry.

// treni[treno_in_uso]: categoria -> indice_categoria.
void Categoria_Combo(Scenario& s);
// treni[treno_in_uso]: sussidiaria -> codice_sussidiaria.
void Sussi_Combo(Scenario& s);
// treni[treno_in_uso]: codice_sussidiaria -> sussidiaria.
void Combo_Sussi(Scenario& s);
// treni[treno_attuale]: binario -> indice_binario, through the first numero_binari entries of
// the track table; a later equal name would win.
void Binario_Combo(Scenario& s);

} // namespace zeb

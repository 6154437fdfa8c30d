#include "editor/field_help.h"

#include <array>

namespace zeb {

namespace {

const std::array<FieldHelp, 13> kHelp = {{
    {"Numero treno", "Inserite il numero del treno"},
    {"Categoria", "Inserite la categoria del treno"},
    {"Provenienza", "Inserite la provenienza del treno, nel caso il treno parta dalla stazione "
                    "simulata lasciate il campo vuoto"},
    {"Destinazione", "Inserite la destinazione del treno, nel caso il treno termini nella "
                     "stazione simulata lasciate il campo vuoto"},
    {"Ora arrivo", "Inserite l'ora di arrivo del treno nella stazione simulata, nel caso il "
                   "campo provenienza sia vuoto questo valore non sarà modificabile"},
    {"Ora partenza", "Inserite l'ora di partenza del treno nella stazione simulata, nel caso il "
                     "campo destinazione sia vuoto questo valore non sarà modificabile"},
    {"Indice ritardo", "Indica la probabilità che un treno faccia ritardo\r\n"
                       "\r\n"
                       "INSERIAMO:\r\n"
                       "0 per un treno che non avrà sicuramente ritardo \r\n"
                       "1 per un treno con un ritardo dagli 0 ai 5 minuti \r\n"
                       "2 per un treno con un ritardo dagli 0 ai 30 minuti \r\n"
                       "3 per un treno con un ritardo dagli 0 all'ora e 50 minuti \r\n"
                       "4 per un treno con un ritardo dagli 0 alle 3 e 50 minuti"},
    {"Fermate treno", "Inserite le eventuali fermate del treno separate da una virgola, nel caso "
                      "il campo destinazione sia vuoto questo valore non sarà modificabile \r\n"
                      "\r\n"
                      "Esempio:\r\n"
                      "Rimini,Riccione,Cattolica,Pesaro\r\n"
                      "\r\n"
                      "NB: In caso il treno venga modificato, non rimuovere i caratteri ,. "
                      "situati dopo l'ultima fermata"},
    {"Indicazioni sussidiarie", "Scegliere l'indicazione sussidiaria del treno simulato"},
    {"Note al treno", "Inserite eventuali informazioni aggiuntive, nel caso non ci siano "
                      "informazioni da inserire lasciate il campo vuoto"},
    {"Numero treni totali", "Questo valore indica il numero totale dei treni simulati"},
    {"Binario", "Selezionare dall'elenco il binario relativo al treno inserito, i binari "
                "disponibili sono quelli che sono stati precedentemente selezionati, in caso la "
                "categoria sia AUTOBUS o EUROSTAR LINK questo valore non sarà selezionabile"},
    {"Posizione treno", "Questo numero indica l'identificativo del treno rispetto al totale dei "
                        "treni simulati, il valore ha il solo scopo orientativo all'interno "
                        "dell'editor"},
}};

} // namespace

std::optional<FieldHelp> fieldHelp(int index) {
    if (index < 0 || index >= static_cast<int>(kHelp.size()))
        return std::nullopt;
    return kHelp[index];
}

} // namespace zeb

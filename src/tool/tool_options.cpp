#include "tool/tool_command_line.h"

#include "tool/board_command.h"

#include <iterator>

namespace zeb {

namespace {

// The options of every command, for the parser and the help.
const ToolOption kToolOptions[] = {
    {"output", "o", "Il file da scrivere.", "file"},
    {"scenario", "", "Lo scenario a cui aggiungere i treni (importa).", "file"},
    {"separazione", "", "Minuti minimi tra due treni su un binario (predefinito 3).", "minuti"},
    {"sosta", "", "Minuti di binario occupato dopo l'arrivo di un treno che termina (10).",
     "minuti"},
    {"preparazione", "", "Minuti di binario occupato prima della partenza (10).", "minuti"},
    {"inversione", "", "Minuti minimi tra l'arrivo e la nuova partenza di un treno collegato (5).",
     "minuti"},
    {"elenco", "", "Elenca i collegamenti senza scrivere nulla (collega).", nullptr},
    {"collega", "",
     "Collega le corse di uno stesso block_id che terminano e ripartono qui (gtfs; "
     "predefinito).",
     nullptr},
    {"non-collegare", "", "Non collega le corse di uno stesso block_id (gtfs).", nullptr},
    {"attesa-max", "",
     "I minuti al più tra l'arrivo di un treno e la partenza di quello a cui si collega "
     "(collega; predefiniti 90).",
     "minuti"},
    {"stazioni", "", "Elenca le stazioni del feed con i loro treni (gtfs).", nullptr},
    {"stazione", "", "La stazione da importare: il suo stop_id o il suo nome (gtfs).", "stazione"},
    {"data", "",
     "Il giorno da importare (gtfs; predefinito il più trafficato da oggi), o quello "
     "dell'avviso (confronta).",
     "AAAA-MM-GG"},
    {"dalle", "", "Solo i treni, o gli annunci, da quest'ora (gtfs, perturba, tabellone).",
     "HH:MM"},
    {"alle", "", "Solo i treni, o gli annunci, fino a quest'ora (gtfs, perturba, tabellone).",
     "HH:MM"},
    {"autobus", "", "Anche gli autobus e gli altri servizi non ferroviari (gtfs).", nullptr},
    {"assegna", "", "I binari scelti per i treni importati senza binario (gtfs).", nullptr},
    {"tipi", "",
     "I tipi di linea GTFS da prendere, separati da virgole: 0 i tram-treni, 2 i treni "
     "(gtfs; predefiniti i treni).",
     "tipi"},
    {"categorie", "",
     "Un CSV di righe tipo;categoria: le categorie dei tipi di servizio del feed (gtfs); le "
     "categorie dei treni, separate da virgole (perturba).",
     "categorie"},
    {"azione", "",
     "Che fare dei treni: sopprimi, limita, origine, binario o ritardo "
     "(perturba).",
     "azione"},
    {"quota", "", "La percentuale dei treni scelti da prendere (perturba; predefinita 100).",
     "percento"},
    {"seme", "", "Il seme che sceglie i treni della quota e i ritardi (perturba, tabellone).",
     "numero"},
    {"binario", "", "Il binario su cui spostare i treni (perturba; predefinito il primo libero).",
     "binario"},
    {"ritardi", "",
     "Le percentuali degli indici di ritardo da 0 a 4, come 60,30,10 (perturba); nessuno, "
     "massimo o estratto (tabellone).",
     "ritardi"},
    {"gia-presenti", "",
     "Che fare dei treni già nello scenario: nuovi (solo gli altri), sostituisci o tutti "
     "(gtfs).",
     "modo"},
    {"csv", "",
     "Il file CSV in cui scrivere anche le differenze (confronta) o le righe (tabellone).", "file"},
    {"avviso", "", "Il PDF dell'avviso ai viaggiatori con le differenze (confronta).", "file"},
    {"treni", "", "Quali treni: senza-binario, conflitti, fuori-regola o tutti (assegna).",
     "quali"},
    {"binari", "",
     "I binari da usare, separati da virgole (assegna; predefiniti tutti), o quelli della "
     "stazione (nuovo).",
     "binari"},
    {"regole", "",
     "Un CSV delle regole dei binari: categoria;provenienza;destinazione;tipo;dalle;alle;"
     "preferiti;ammessi (assegna; predefinite quelle accanto allo scenario).",
     "file"},
    {"margine", "",
     "Minuti da lasciare tra due treni di un binario oltre la separazione (assegna; "
     "predefiniti 5).",
     "minuti"},
    {"tempo-max", "",
     "Secondi per cercare binari migliori dopo la prima scelta (assegna; predefiniti 2, 0 "
     "per nessuna ricerca).",
     "secondi"},
    {"inizio", "", "L'ora di inizio della simulazione (nuovo; predefinita 06:00).", "HH:MM"},
    {"ore", "", "Le ore del giorno in ogni pagina (occupazione; predefinite 4).", "ore"},
    {"formato", "",
     "Il formato della carta: A4 o A3 (occupazione), A4, A3 o A2 (manifesti); predefinito A4.",
     "formato"},
    {"valido-dal", "", "Il primo giorno di validità scritto sul manifesto (manifesti).",
     "AAAA-MM-GG"},
    {"valido-al", "", "L'ultimo giorno di validità scritto sul manifesto (manifesti).",
     "AAAA-MM-GG"},
    {"partenze", "", "Il manifesto, o il tabellone, delle partenze (manifesti, tabellone).",
     nullptr},
    {"arrivi", "", "Il manifesto, o il tabellone, degli arrivi (manifesti, tabellone).", nullptr},
};

} // namespace

const std::vector<ToolOption>& toolOptions() {
    static const std::vector<ToolOption> options = [] {
        std::vector<ToolOption> all(std::begin(kToolOptions), std::end(kToolOptions));
        all.insert(all.end(), boardOptions().begin(), boardOptions().end());
        return all;
    }();
    return options;
}

} // namespace zeb

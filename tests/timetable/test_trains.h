#pragma once

#include "model/scenario.h"
#include "model/track_slots.h"

#include <string>

namespace zeb::test {

// A train as the editor stores it: "" for an end it lacks, times as "H:M".
struct Train {
    std::string numero{};
    std::string provenienza{};
    std::string arrivo{};
    std::string destinazione{};
    std::string partenza{};
    std::string binario = "1";
    std::string categoria = "Regionale";
    std::string fermate = "Pieve,.";
};

inline Scenario stationWith(std::initializer_list<Train> trains) {
    Scenario s;
    s.binari_scelti[0] = s.binari_scelti[1] = true; // tracks 1 and 2
    rebuildTrackTable(s);
    for (const Train& in : trains) {
        Treno& t = s.treni[s.totale_treni++];
        t.numero = in.numero;
        t.categoria = in.categoria;
        t.provenienza = in.provenienza;
        t.destinazione = in.destinazione;
        t.ora_arrivo = in.arrivo.substr(0, in.arrivo.find(':'));
        t.min_arrivo = in.arrivo.find(':') == std::string::npos
                           ? ""
                           : in.arrivo.substr(in.arrivo.find(':') + 1);
        t.ora_partenza = in.partenza.substr(0, in.partenza.find(':'));
        t.min_partenza = in.partenza.find(':') == std::string::npos
                             ? ""
                             : in.partenza.substr(in.partenza.find(':') + 1);
        t.binario = in.binario;
        t.fermate =
            in.destinazione.empty() ? "Il treno termina nella stazione simulata,." : in.fermate;
    }
    return s;
}

} // namespace zeb::test

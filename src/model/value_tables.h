#pragma once

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>

namespace zeb {

// The category list in list order; a category's position is its indice_categoria.
inline constexpr std::array<std::string_view, 16> kCategorie = {
    "Autobus",     "Cisalpino",       "Diretto",        "Espresso",
    "Eurocity",    "Euronight",       "Eurostar",       "Eurostar Link",
    "Intercity",   "Intercity Notte", "Intercity Plus", "Interregionale",
    "MetroNapoli", "Regionale",       "Suburbano",      "TrenOK"};

// The subsidiary indications in list order; a description's position is its code.
// Code 9 really is written with a lower-case "classe".
inline constexpr std::array<std::string_view, 11> kSussidiarie = {"Nessuna",
                                                                  "Soppresso",
                                                                  "Prenotazione Obbligatoria",
                                                                  "Prenotazione Facoltativa",
                                                                  "Sola 2a Classe",
                                                                  "Sola 1a Classe",
                                                                  "Prima e Seconda Classe",
                                                                  "1-2a Classe + Cuccette",
                                                                  "1-2a Classe + Letti + Cuccette",
                                                                  "Sola 2a classe + Cuccette",
                                                                  "Autobus (Piazzale Esterno)"};

// The delay indices; each is its own list position.
inline constexpr std::array<std::string_view, 5> kRitardi = {"0", "1", "2", "3", "4"};
// The most minutes the simulator makes a train late by, for each delay index.
inline constexpr std::array<int, 5> kMostDelayMinutes = {0, 5, 30, 110, 230};

inline constexpr int kSussiAutobus = 10; // forced for the categories without a track
inline constexpr std::string_view kBinarioSenzaBinario = "99";
inline constexpr std::string_view kTerminaQui = "Il treno termina nella stazione simulata";
inline constexpr std::string_view kFineFermate = ",.";

// The stops without their final ",." where they end in it.
inline std::string_view stopsWithoutFine(std::string_view fermate) {
    return fermate.ends_with(kFineFermate) ? fermate.substr(0, fermate.size() - kFineFermate.size())
                                           : fermate;
}

// True for a text of decimal digits only, at least one.
inline bool isDecimalDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// `text` without the characters of `around` at either end.
inline std::string_view trimmedOf(std::string_view text, std::string_view around) {
    const auto first = text.find_first_not_of(around);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(around) - first + 1);
}

// `text` with its letters in lower case, for names compared ignoring case (list entries, column
// names, kinds of service, station names).
inline std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// "Autobus, Cisalpino, …, TrenOK": what a category may be, for a message.
inline std::string categoryNames() {
    std::string names;
    for (std::string_view name : kCategorie)
        names += (names.empty() ? "" : ", ") + std::string(name);
    return names;
}

// True for "Autobus" and "Eurostar Link", which have no track (exact comparison).
bool isCategoriaSenzaBinario(std::string_view categoria);

// Position of `text` in `table` compared exactly, or nullopt.
template <std::size_t N>
std::optional<int> positionIn(const std::array<std::string_view, N>& table, std::string_view text) {
    for (std::size_t i = 0; i < N; ++i) {
        if (table[i] == text)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

// The same with letter case ignored for ASCII letters, which every list entry and column name
// uses.
template <std::size_t N>
std::optional<int> positionIgnoringCase(const std::array<std::string_view, N>& table,
                                        std::string_view text) {
    for (std::size_t i = 0; i < N; ++i) {
        if (lowered(table[i]) == lowered(text))
            return static_cast<int>(i);
    }
    return std::nullopt;
}

// The decimal text "0".."N-1" of a list position, read back exactly ("03" and " 3" are not 3).
std::optional<int> listPosition(std::string_view text, int count);

} // namespace zeb

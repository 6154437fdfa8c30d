#include "gtfs/kind_categories.h"

#include "gtfs/gtfs_error.h"
#include "model/quoted_text.h"
#include "model/value_tables.h"

namespace zeb {

namespace {

std::string_view valueOf(std::string_view field) {
    field = trimmedOf(field, " \t\r");
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        field = field.substr(1, field.size() - 2);
    return field;
}

} // namespace

std::map<std::string, int> readKindCategories(std::string_view csv) {
    if (csv.starts_with("\xEF\xBB\xBF"))
        csv.remove_prefix(3);
    std::map<std::string, int> categories;
    long line = 0;
    for (std::size_t at = 0; at < csv.size();) {
        const std::size_t end = std::min(csv.find('\n', at), csv.size());
        const std::string_view text = trimmedOf(csv.substr(at, end - at), " \t\r");
        at = end + 1;
        ++line;
        if (text.empty() || (line == 1 && lowered(text) == "tipo;categoria"))
            continue;
        const std::size_t semicolon = text.find(';');
        auto fault = [&](const std::string& what) {
            return GtfsError("riga " + std::to_string(line) + ": " + what);
        };
        if (semicolon == std::string_view::npos || text.find(';', semicolon + 1) != text.npos)
            throw fault("servono due valori, tipo;categoria, non " + quotedBriefly(text));
        const std::string_view kind = valueOf(text.substr(0, semicolon));
        const std::string_view category = valueOf(text.substr(semicolon + 1));
        if (kind.empty())
            throw fault("manca il tipo di servizio");
        const auto position = positionIgnoringCase(kCategorie, category);
        if (!position)
            throw fault(quotedBriefly(category) + " non è una categoria; le categorie sono " +
                        categoryNames());
        categories[lowered(kind)] = *position;
    }
    return categories;
}

} // namespace zeb

#include "csv_exchange/csv_text.h"

namespace zeb {

std::string csvField(std::string_view field, char delimiter) {
    const bool quoted =
        field.find_first_of(std::string{delimiter, '"', '\r', '\n'}) != std::string_view::npos;
    if (!quoted)
        return std::string(field);
    std::string out = "\"";
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::vector<std::vector<std::string>> parseCsv(std::string_view text, char delimiter,
                                               std::vector<int>& lines) {
    std::vector<std::vector<std::string>> rows;
    lines.clear();
    std::size_t pos = 0;
    int line = 1;
    while (pos < text.size()) {
        std::vector<std::string> row;
        lines.push_back(line);
        std::string field;
        bool inQuotes = false;
        bool rowDone = false;
        while (pos < text.size() && !rowDone) {
            const char c = text[pos++];
            if (inQuotes) {
                if (c == '"' && pos < text.size() && text[pos] == '"') {
                    field += '"';
                    ++pos;
                } else if (c == '"') {
                    inQuotes = false;
                } else {
                    line += c == '\n';
                    field += c;
                }
            } else if (c == '"') {
                inQuotes = true;
            } else if (c == delimiter) {
                row.push_back(std::move(field));
                field.clear();
            } else if (c == '\n' || c == '\r') {
                if (c == '\r' && pos < text.size() && text[pos] == '\n')
                    ++pos;
                ++line;
                rowDone = true;
            } else {
                field += c;
            }
        }
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace zeb

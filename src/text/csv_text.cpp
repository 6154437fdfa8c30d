#include "text/csv_text.h"

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

void addCsvError(std::vector<std::string>& errors, int& hidden, int line, std::string_view column,
                 const std::string& what) {
    constexpr std::size_t kMostSaid = 20;
    if (errors.size() >= kMostSaid) {
        ++hidden;
        return;
    }
    errors.push_back("Riga " + std::to_string(line) +
                     (column.empty() ? std::string() : ", " + std::string(column)) + ": " + what);
}

void endCsvErrors(std::vector<std::string>& errors, int hidden) {
    if (hidden > 0)
        errors.push_back(hidden == 1 ? std::string("… e un altro errore")
                                     : "… e altri " + std::to_string(hidden) + " errori");
}

bool CsvRows::next(std::vector<std::string>& row) {
    if (pos_ >= text_.size())
        return false;
    row.clear();
    line_ = nextLine_;
    std::string field;
    bool inQuotes = false;
    while (pos_ < text_.size()) {
        const char c = text_[pos_++];
        if (inQuotes) {
            if (c == '"' && pos_ < text_.size() && text_[pos_] == '"') {
                field += '"';
                ++pos_;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                nextLine_ += c == '\n';
                field += c;
            }
        } else if (c == '"') {
            inQuotes = true;
        } else if (c == delimiter_) {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n')
                ++pos_;
            ++nextLine_;
            break;
        } else {
            field += c;
        }
    }
    row.push_back(std::move(field));
    return true;
}

} // namespace zeb

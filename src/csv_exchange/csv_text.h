#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// Comma-separated text as RFC 4180 has it, with a delimiter of one's choice.

// `field` as it stands in a row: in quotes, its quotes doubled, where it holds the delimiter,
// a quote or a line break.
std::string csvField(std::string_view field, char delimiter);

// The rows of `text`, each a list of fields with their quotes undone; a quoted field may hold
// the delimiter and line breaks. Rows end in CR LF or LF; blank rows are kept as one empty
// field. `lines` receives each row's 1-based line number.
std::vector<std::vector<std::string>> parseCsv(std::string_view text, char delimiter,
                                               std::vector<int>& lines);

} // namespace zeb

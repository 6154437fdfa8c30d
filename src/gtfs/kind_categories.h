#pragma once

#include <map>
#include <string>
#include <string_view>

namespace zeb {

// The categories a planner gives kinds of service, from a CSV of "tipo;categoria" lines (UTF-8,
// a BOM and a header "tipo;categoria" allowed, blank lines skipped): kind in lower case →
// category position. A kind is matched as the import names it, letter case aside. Throws GtfsError
// naming the line of the first fault: a line without two values, or a category not in the list.
std::map<std::string, int> readKindCategories(std::string_view csv);

} // namespace zeb

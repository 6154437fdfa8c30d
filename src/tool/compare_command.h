#pragma once

#include "tool/notice_writer.h"
#include "tool/tool_command_line.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace zeb {

// A variant of a day against its base: one line a changed field, removed or added train ("2231
// 07:45 Binario: 3 → 5"), then a summary; with `csvPath`, the same as CSV through a safe
// replacement; with `noticePath`, the notice for the passengers through `writeNotice`, titled
// with `day` ("AAAA-MM-GG") where given. Exit 0 when the days are equal, 1 when they differ, 2
// when a file cannot be read or written or the day is no date.
struct CompareRequest {
    std::string base;
    std::string variant;
    std::optional<std::string> csv{};
    std::optional<std::string> notice{};
    std::optional<std::string> day{};
};
int confrontaCommand(const CompareRequest& request, const NoticeWriter& writeNotice,
                     std::ostream& out, std::ostream& err);

// `confronta` for the tool's table: its options, its help and its reading of the line.
ToolCommand confrontaTool(const NoticeWriter& writeNotice);

} // namespace zeb

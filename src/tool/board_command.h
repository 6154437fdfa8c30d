#pragma once

#include "tool/boards_writer.h"
#include "tool/tool_command_line.h"

#include <vector>

namespace zeb {

// `tabellone`: what the station's boards, track indicators or loudspeakers show at a minute of
// the day (or, for the announcements, over a span), as lines or as CSV. It declares its own
// options, and parses and checks them itself.
ToolCommand tabelloneTool(const BoardsWriter& writeBoards = {});

} // namespace zeb

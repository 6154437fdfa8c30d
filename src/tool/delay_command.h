#pragma once

#include "tool/tool_command_line.h"

namespace zeb {

// `ritardi FILE.zeb [--simulazioni 1000] [--seme 7] [--massimo] [--csv RISCHIO.csv]`: how often
// the day's tracks clash when the trains run as late as their indices allow, and the trains most
// at risk, a line each. Exit 0 when no run clashes, 1 when some do.
ToolCommand ritardiTool();

} // namespace zeb

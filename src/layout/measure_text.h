#pragma once

#include <functional>
#include <string_view>

namespace zeb {

// The width of `text` in points, in a type of `size` points, bold or not: how a page laid out
// here learns the widths of the toolkit's fonts without knowing the toolkit.
using MeasureText = std::function<double(std::string_view text, double size, bool bold)>;

} // namespace zeb

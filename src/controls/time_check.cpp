#include "controls/time_check.h"

namespace zeb {

bool isTimeOutOfRange(std::string_view text, int highest) {
    if (text.empty())
        return false;
    if (!isWholeNumber(text))
        return true;
    if (text[0] == '-')
        return false;
    // Compared digit by digit, so that no length of text can overflow.
    while (text.size() > 1 && text[0] == '0')
        text.remove_prefix(1);
    const std::string limit = std::to_string(highest);
    return text.size() > limit.size() || (text.size() == limit.size() && text > limit);
}

std::optional<TimeTexts> emptyOutOfRangeTime(TextBox& ora, TextBox& minuti) {
    if (ora.text == kShownTimePlaceholder)
        return std::nullopt;
    TimeTexts read{ora.text, minuti.text};
    if (isTimeOutOfRange(read.ora, 23))
        ora.setText("");
    if (isTimeOutOfRange(read.minuti, 59))
        minuti.setText("");
    return read;
}

} // namespace zeb

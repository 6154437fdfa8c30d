#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// Plain models of the windows' controls. The logic reads and writes these; the Qt views mirror
// them onto the widgets and copy the user's input back.

// The first `count` characters (not bytes) of UTF-8 `text`.
std::string_view firstCharacters(std::string_view text, int count);

// True for an optional "-" followed by decimal digits: the texts the time checks compare.
bool isWholeNumber(std::string_view text);

struct TextBox {
    std::string text;
    bool enabled = true;
    int maxLength = 0; // characters; 0 for no limit

    // Assigned text is cut to the length limit, as typed text is. Assigning the text the box
    // already holds changes nothing, so that the periodic refresh allocates nothing.
    void setText(std::string_view value) {
        const std::string_view cut = maxLength > 0 ? firstCharacters(value, maxLength) : value;
        if (text != cut)
            text.assign(cut);
    }
};

// A drop-down list the user can only choose from.
struct ListBox {
    std::vector<std::string> entries;
    int selected = -1; // -1: no entry chosen
    bool enabled = true;

    // The chosen entry's text, or empty while none is chosen.
    std::string text() const {
        return selected >= 0 && selected < static_cast<int>(entries.size()) ? entries[selected]
                                                                            : std::string();
    }
    // Chooses entry `position`; a position the list does not have chooses none.
    void select(int position) {
        selected = position >= 0 && position < static_cast<int>(entries.size()) ? position : -1;
    }
    // Chooses the first entry whose text is `entry`; false, choosing nothing new, when none is.
    bool selectEntry(std::string_view entry) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i] == entry) {
                selected = static_cast<int>(i);
                return true;
            }
        }
        return false;
    }
};

struct Button {
    bool enabled = true;
    bool visible = true;
};

struct CheckBox {
    bool checked = false;
};

// Fills a list's entries from a constant table.
template <std::size_t N>
std::vector<std::string> entriesOf(const std::array<std::string_view, N>& table) {
    return std::vector<std::string>(table.begin(), table.end());
}

} // namespace zeb

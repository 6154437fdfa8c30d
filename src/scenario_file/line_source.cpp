#include "scenario_file/line_source.h"

#include "scenario_file/scenario_file_error.h"
#include "scenario_file/text_limits.h"

namespace zeb {

std::string fileTooLargeText() {
    return "Il file è più grande di " + std::to_string(kMaxFileBytes) +
           " byte, più di quanto l'editor possa aprire";
}

std::string_view LineSource::next(std::string_view expected) {
    if (atEnd())
        throw ScenarioFileError(FormatError::UnexpectedEnd,
                                "Riga " + std::to_string(line_ + 1) +
                                    ": il file finisce, ma era attesa " + std::string(expected));
    ++line_;
    std::size_t end = bytes_.find('\n', pos_);
    const std::size_t next = end == std::string_view::npos ? bytes_.size() : end + 1;
    if (end == std::string_view::npos)
        end = bytes_.size();
    if (end > pos_ && bytes_[end - 1] == '\r')
        --end;
    if (end - pos_ > kMaxLineBytes)
        throw ScenarioFileError(FormatError::LineTooLong, where() + "la riga è più lunga di " +
                                                              std::to_string(kMaxLineBytes) +
                                                              " caratteri");
    const std::string_view line = bytes_.substr(pos_, end - pos_);
    pos_ = next;
    return line;
}

std::string LineSource::where() const {
    return "Riga " + std::to_string(line_) + ": ";
}

} // namespace zeb

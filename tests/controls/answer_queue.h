#pragma once

#include "controls/user_prompts.h"

#include <deque>

namespace zeb::test {

// The answers a test gives to the message boxes, in order: OK boxes are simply closed, and a
// Yes/No box with no answer left is answered No.
struct AnswerQueue {
    std::deque<Answer> answers;

    Answer next(MessageButtons buttons) {
        if (buttons == MessageButtons::Ok)
            return Answer::Ok;
        if (answers.empty())
            return buttons == MessageButtons::SaveDiscardCancel ||
                           buttons == MessageButtons::OverwriteReloadCancel
                       ? Answer::Cancel
                       : Answer::No;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace zeb::test

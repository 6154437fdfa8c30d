#pragma once

#include "controls/answer_queue.h"
#include "views/dialog_prompts.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include <cstdlib>
#include <deque>
#include <vector>

namespace zeb::test {

// The widget `name` under `parent`; fails the test where it is missing.
template <class Widget> Widget* widget(QWidget* parent, const char* name) {
    auto* found = parent->findChild<Widget*>(name);
    if (found == nullptr)
        qFatal("no widget named %s", name);
    return found;
}

inline void click(QWidget* parent, const char* name) {
    QTest::mouseClick(widget<QAbstractButton>(parent, name), Qt::LeftButton);
}

// Clicks a check box on its box: a box stretched by its layout takes clicks on its box and
// text only, not at its centre.
inline void tick(QWidget* parent, const char* name) {
    auto* box = widget<QCheckBox>(parent, name);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

inline void type(QWidget* parent, const char* name, const QString& text) {
    auto* box = widget<QWidget>(parent, name);
    box->setFocus();
    QTest::keyClicks(box, text);
}

// Answers the message boxes from a queue (No where it is empty) and records each one.
struct MessageRecorder : AnswerQueue {
    std::vector<DialogPrompts::Message> shown;

    void attach(DialogPrompts& prompts) {
        prompts.onMessage = [this](const DialogPrompts::Message& message) {
            shown.push_back(message);
            return next(message.buttons);
        };
    }
};

// Saves a picture of `window` when ZEB_SCREENSHOT_DIR names a folder: how the windows are
// looked at by a person.
inline void screenshot(QWidget* window, const QString& name) {
    if (const char* folder = std::getenv("ZEB_SCREENSHOT_DIR"))
        window->grab().save(QString(folder) + "/" + name + ".png");
}

} // namespace zeb::test

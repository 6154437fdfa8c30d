#pragma once

#include "controls/answer_queue.h"
#include "views/common/dialog_prompts.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <QProcess>

#include <cstdlib>
#include <deque>
#include <functional>
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

// Answers the dialogs the prompts show, in the order expected: each is checked by its name and
// handed to its action. An unexpected dialog, or a failed check inside an action, fails the
// test; the prompts then close the dialog, so nothing waits for a person.
struct DialogAnswers {
    std::deque<std::pair<QString, std::function<void(QDialog&)>>> expected;

    void attach(DialogPrompts& prompts) {
        prompts.onDialog = [this](QDialog& dialog) { answer(dialog); };
    }
    void expect(const QString& name, std::function<void(QDialog&)> action) {
        expected.emplace_back(name, std::move(action));
    }
    // The dialog `name` confirmed with its button `button` as it is.
    void expectClick(const QString& name, const char* button) {
        expect(name, [button](QDialog& dialog) {
            QTest::mouseClick(widget<QAbstractButton>(&dialog, button), Qt::LeftButton);
        });
    }

private:
    void answer(QDialog& dialog) {
        if (expected.empty())
            QFAIL(qPrintable("a dialog not expected: " + dialog.objectName()));
        auto [name, action] = std::move(expected.front());
        expected.pop_front();
        QCOMPARE(dialog.objectName(), name);
        action(dialog);
    }
};

// What a program prints for `arguments` ("pdftotext FILE -"), or empty when it fails.
inline QString programOutput(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString pdfText(const std::string& path) {
    return programOutput("pdftotext", {QString::fromStdString(path), "-"});
}

inline int pdfPages(const std::string& path) {
    return programOutput("pdfinfo", {QString::fromStdString(path)})
        .section("Pages:", 1)
        .section('\n', 0, 0)
        .trimmed()
        .toInt();
}

// The first menu of `window`'s menu bar as it draws itself: the texts of its entries drawn
// with the program's own font, which no paper export may change.
inline QImage menuPicture(QMainWindow* window) {
    QMenu* menu = window->menuBar()->actions().first()->menu();
    menu->popup(window->mapToGlobal(QPoint(10, 10)));
    QTest::qWait(50);
    const QImage picture = menu->grab().toImage();
    menu->hide();
    return picture;
}

// Saves a picture of `window` when ZEB_SCREENSHOT_DIR names a folder: how the windows are
// looked at by a person.
inline void screenshot(QWidget* window, const QString& name) {
    if (const char* folder = std::getenv("ZEB_SCREENSHOT_DIR"))
        window->grab().save(QString(folder) + "/" + name + ".png");
}

} // namespace zeb::test

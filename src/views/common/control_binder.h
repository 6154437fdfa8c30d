#pragma once

#include "controls/controls.h"

#include <QObject>

#include <functional>
#include <vector>

class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace zeb {

// Ties widgets to the control models of a window's logic. What the user types or chooses goes
// into the model at once; refresh() writes the models back onto the widgets, touching a widget
// only where its value differs, so typing is never disturbed (caret and selection kept).
class ControlBinder : public QObject {
public:
    using QObject::QObject;

    void bind(QLineEdit* widget, TextBox& model);
    void bind(QPlainTextEdit* widget, TextBox& model);
    void bind(QComboBox* widget, ListBox& model);
    void bind(QAbstractButton* widget, Button& model);
    // A menu command: enabled where its model is enabled and shown.
    void bind(QAction* action, const Button& model);
    // A menu command that says what it would do: its text and its state.
    void bind(QAction* action, const TextBox& model);
    // `onClick` runs after a click by the user has stored the new state in the model.
    void bind(QCheckBox* widget, CheckBox& model, std::function<void()> onClick);

    void refresh();

private:
    std::vector<std::function<void()>> refreshers_;
    bool refreshing_ = false; // changes made by refresh() are not the user's input
};

// Sets a widget's own enabled and visible flags where they differ.
void applyEnabled(QWidget* widget, bool enabled);
void applyVisible(QWidget* widget, bool visible);

} // namespace zeb

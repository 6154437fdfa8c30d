#include "views/common/control_binder.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <memory>
#include <string>

namespace zeb {

namespace {

QString toQt(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void applyEnabled(QWidget* widget, bool enabled) {
    if (widget->testAttribute(Qt::WA_Disabled) == enabled)
        widget->setEnabled(enabled);
}

void applyVisible(QWidget* widget, bool visible) {
    if (widget->isHidden() == visible)
        widget->setVisible(visible);
}

// Each text binding keeps the text the widget last showed, so that a refresh that changes
// nothing compares two std::strings and converts, allocates and touches nothing.
void ControlBinder::bind(QLineEdit* widget, TextBox& model) {
    if (model.maxLength > 0)
        widget->setMaxLength(model.maxLength);
    auto shown = std::make_shared<std::string>();
    connect(widget, &QLineEdit::textChanged, this, [this, &model, shown](const QString& text) {
        if (!refreshing_)
            *shown = model.text = text.toStdString();
    });
    refreshers_.push_back([widget, &model, shown] {
        if (model.text != *shown) {
            widget->setText(toQt(model.text));
            *shown = model.text;
        }
        applyEnabled(widget, model.enabled);
    });
}

void ControlBinder::bind(QPlainTextEdit* widget, TextBox& model) {
    auto shown = std::make_shared<std::string>();
    connect(widget, &QPlainTextEdit::textChanged, this, [this, widget, &model, shown] {
        if (!refreshing_)
            *shown = model.text = widget->toPlainText().toStdString();
    });
    refreshers_.push_back([widget, &model, shown] {
        if (model.text != *shown) {
            widget->setPlainText(toQt(model.text));
            *shown = model.text;
        }
        applyEnabled(widget, model.enabled);
    });
}

void ControlBinder::bind(QComboBox* widget, ListBox& model) {
    connect(widget, &QComboBox::currentIndexChanged, this, [this, &model](int index) {
        if (!refreshing_)
            model.selected = index;
    });
    auto shown = std::make_shared<std::vector<std::string>>();
    refreshers_.push_back([widget, &model, shown] {
        if (model.entries != *shown) {
            widget->clear();
            for (const auto& entry : model.entries)
                widget->addItem(toQt(entry));
            *shown = model.entries;
        }
        if (widget->currentIndex() != model.selected)
            widget->setCurrentIndex(model.selected);
        applyEnabled(widget, model.enabled);
    });
}

void ControlBinder::bind(QAbstractButton* widget, Button& model) {
    refreshers_.push_back([widget, &model] {
        applyEnabled(widget, model.enabled);
        applyVisible(widget, model.visible);
    });
}

void ControlBinder::bind(QAction* action, const Button& model) {
    refreshers_.push_back([action, &model] {
        const bool enabled = model.enabled && model.visible;
        if (action->isEnabled() != enabled)
            action->setEnabled(enabled);
    });
}

void ControlBinder::bind(QAction* action, const TextBox& model) {
    // The text last written, so that a refresh that changes nothing allocates nothing.
    refreshers_.push_back([action, &model, shown = std::string()]() mutable {
        if (action->isEnabled() != model.enabled)
            action->setEnabled(model.enabled);
        if (shown != model.text) {
            shown = model.text;
            action->setText(QString::fromStdString(shown));
        }
    });
}

void ControlBinder::bind(QCheckBox* widget, CheckBox& model, std::function<void()> onClick) {
    connect(widget, &QCheckBox::clicked, this, [&model, onClick](bool checked) {
        model.checked = checked;
        onClick();
    });
    refreshers_.push_back([widget, &model] {
        if (widget->isChecked() != model.checked)
            widget->setChecked(model.checked);
    });
}

void ControlBinder::refresh() {
    refreshing_ = true;
    for (const auto& refresher : refreshers_)
        refresher();
    refreshing_ = false;
}

} // namespace zeb

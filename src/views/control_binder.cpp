#include "views/control_binder.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

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

void ControlBinder::bind(QLineEdit* widget, TextBox& model) {
    if (model.maxLength > 0)
        widget->setMaxLength(model.maxLength);
    connect(widget, &QLineEdit::textChanged, this, [this, &model](const QString& text) {
        if (!refreshing_)
            model.text = text.toStdString();
    });
    refreshers_.push_back([widget, &model] {
        const QString text = toQt(model.text);
        if (widget->text() != text)
            widget->setText(text);
        applyEnabled(widget, model.enabled);
    });
}

void ControlBinder::bind(QPlainTextEdit* widget, TextBox& model) {
    connect(widget, &QPlainTextEdit::textChanged, this, [this, widget, &model] {
        if (!refreshing_)
            model.text = widget->toPlainText().toStdString();
    });
    refreshers_.push_back([widget, &model] {
        const QString text = toQt(model.text);
        if (widget->toPlainText() != text)
            widget->setPlainText(text);
        applyEnabled(widget, model.enabled);
    });
}

void ControlBinder::bind(QComboBox* widget, ListBox& model) {
    connect(widget, &QComboBox::currentIndexChanged, this, [this, &model](int index) {
        if (!refreshing_)
            model.selected = index;
    });
    refreshers_.push_back([widget, &model] {
        bool same = widget->count() == static_cast<int>(model.entries.size());
        for (int i = 0; same && i < widget->count(); ++i)
            same = widget->itemText(i) == toQt(model.entries[i]);
        if (!same) {
            widget->clear();
            for (const auto& entry : model.entries)
                widget->addItem(toQt(entry));
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

#include "views/common/window_style.h"

#include "model/counted.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QTimeEdit>

#include <cmath>

namespace zeb {

QRect fromTwips(int left, int top, int width, int height) {
    auto px = [](int twips) { return static_cast<int>(std::lround(twips / 15.0)); };
    return QRect(px(left), px(top), px(width), px(height));
}

QFont verdanaFont(double points, bool bold) {
    static const QString family =
        QFontDatabase::families().contains("Verdana") ? "Verdana" : "DejaVu Sans";
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont defaultControlFont() {
    QFont font = QApplication::font();
    font.setPointSizeF(8.25);
    return font;
}

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, QRect where,
                 Qt::Alignment align) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(where);
    label->setFont(verdanaFont());
    label->setAlignment(align);
    return label;
}

QSpinBox* minutesBox(const char* name, int value) {
    auto* box = new QSpinBox;
    box->setObjectName(name);
    box->setRange(0, 1440);
    box->setSuffix(" min");
    box->setValue(value);
    return box;
}

void addTimeWindowRow(QFormLayout& form, QTimeEdit* from, QTimeEdit* to) {
    auto* window = new QHBoxLayout;
    for (QTimeEdit* edit : {from, to})
        edit->setDisplayFormat("HH:mm");
    window->addWidget(from);
    window->addWidget(new QLabel("alle"));
    window->addWidget(to);
    window->addStretch();
    auto* label = new QLabel("&Dalle:");
    label->setBuddy(from);
    form.addRow(label, window);
}

QString countedText(long count, const char* one, const char* many) {
    return QString::fromStdString(counted(count, one, many));
}

void bringUp(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace zeb

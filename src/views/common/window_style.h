#pragma once

#include <QFont>
#include <QLabel>
#include <QRect>

class QFormLayout;
class QSpinBox;
class QTimeEdit;

namespace zeb {

// Window layouts are given in twips: 15 twips to a pixel at 96 dots per inch.
QRect fromTwips(int left, int top, int width, int height);

// Verdana where it is installed, else DejaVu Sans.
QFont verdanaFont(double points = 8.25, bool bold = false);
// The font of every other control: the toolkit's default sans serif at 8.25 points.
QFont defaultControlFont();

// "1 treno", "2 treni", for the windows' texts.
QString countedText(long count, const char* one, const char* many);

// Shows `window` above the others, with the keyboard.
void bringUp(QWidget& window);

// A box of whole minutes, from 0 to the day's, with its name.
QSpinBox* minutesBox(const char* name, int value);

// "&Dalle: [from] alle [to]": a window of the day's times, HH:mm, on a row of `form`.
void addTimeWindowRow(QFormLayout& form, QTimeEdit* from, QTimeEdit* to);

// A label of the windows, in Verdana 8.25 pt, with its name, place and alignment.
QLabel* addLabel(QWidget* parent, const char* name, const QString& text, QRect where,
                 Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter);

// A control with its name, at its place.
template <class Widget> Widget* addWidget(QWidget* parent, const char* name, QRect where) {
    auto* widget = new Widget(parent);
    widget->setObjectName(name);
    widget->setGeometry(where);
    return widget;
}

} // namespace zeb

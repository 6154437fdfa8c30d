#include "views/date_field.h"

#include <QClipboard>
#include <QDateEdit>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>

namespace zeb {

namespace {

QDate pastedDate(const QString& text) {
    for (const char* format : {"d/M/yyyy", "d.M.yyyy", "d-M-yyyy", "yyyy-M-d", "ddMMyyyy"}) {
        const QDate date = QDate::fromString(text.trimmed(), format);
        if (date.isValid())
            return date;
    }
    return {};
}

// Takes Ctrl+V as a whole date where the clipboard holds one.
class PasteWholeDate : public QObject {
public:
    explicit PasteWholeDate(QDateEdit* edit) : QObject(edit), edit_(edit) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress ||
            !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste))
            return false;
        const QDate date = pastedDate(QGuiApplication::clipboard()->text());
        if (!date.isValid())
            return false;
        edit_->setDate(date);
        return true;
    }

private:
    QDateEdit* edit_;
};

} // namespace

void makeDateField(QDateEdit* edit, QLabel* weekday) {
    edit->setKeyboardTracking(false);
    edit->installEventFilter(new PasteWholeDate(edit));
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    auto name = [edit, weekday, italian] {
        weekday->setText(italian.dayName(edit->date().dayOfWeek(), QLocale::LongFormat));
    };
    QObject::connect(edit, &QDateEdit::dateChanged, weekday, name);
    name();
}

} // namespace zeb

#include "views/common/date_field.h"

#include "text/typed_date.h"

#include <QClipboard>
#include <QDateEdit>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QToolTip>

#include <optional>

namespace zeb {

namespace {

CalendarDay dayOf(const QDate& date) {
    return {date.year(), date.month(), date.day()};
}

// Takes a date typed or pasted whole as a whole: QDateEdit alone reads each section by itself,
// so that "03/06/2025" typed over a selected date changed only its month. Typing that begins
// over the whole text or in its first section is gathered here and read at its last digit, at
// Enter or when the focus leaves; typing in a later section stays the field's own.
class WholeDateTyping : public QObject {
public:
    explicit WholeDateTyping(QDateEdit* edit)
        : QObject(edit), edit_(edit), line_(edit->findChild<QLineEdit*>()) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            finish();
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste))
            return paste();
        if (typed_.has_value() && key->key() == Qt::Key_Backspace) {
            typed_->chop(1);
            line_->setText(*typed_);
            return true;
        }
        const QString text = key->text();
        if (text.size() == 1 && (text[0].isDigit() || QString("/.-").contains(text[0])) &&
            (typed_.has_value() || startsWhole()))
            return type(text);
        if (typed_.has_value() && key->key() == Qt::Key_Escape) {
            typed_.reset();
            edit_->setDate(edit_->date()); // shows the date again
            return true;
        }
        finish(); // Enter, Tab, the arrows: what was typed first, then the key
        return false;
    }

private:
    bool startsWhole() const {
        return line_ != nullptr &&
               (edit_->currentSectionIndex() == 0 ||
                (line_->hasSelectedText() && line_->selectedText() == line_->text()));
    }

    bool type(const QString& character) {
        typed_ = typed_.value_or(QString()) + character;
        line_->setText(*typed_);
        if (isWholeDate(typed_->toStdString()))
            finish();
        return true;
    }

    bool paste() {
        const auto day =
            typedDate(QGuiApplication::clipboard()->text().toStdString(), dayOf(edit_->date()));
        if (!day)
            return false;
        typed_.reset();
        edit_->setDate(QDate(day->year, day->month, day->day));
        return true;
    }

    // The date typed, or the one shown before where the text names none or one out of the
    // field's range, said beside the field.
    void finish() {
        if (!typed_.has_value())
            return;
        const QString text = *typed_;
        typed_.reset();
        const auto day = typedDate(text.toStdString(), dayOf(edit_->date()));
        const QDate date = day ? QDate(day->year, day->month, day->day) : QDate();
        if (date.isValid() && date >= edit_->minimumDate() && date <= edit_->maximumDate()) {
            edit_->setDate(date);
            return;
        }
        edit_->setDate(edit_->date());
        const QString format = edit_->displayFormat();
        QToolTip::showText(edit_->mapToGlobal(QPoint(0, edit_->height())),
                           date.isValid() ? QString("Il %1 è fuori dall'intervallo: dal %2 al %3.")
                                                .arg(date.toString(format),
                                                     edit_->minimumDate().toString(format),
                                                     edit_->maximumDate().toString(format))
                                          : QString("«%1» non è una data.").arg(text),
                           edit_);
    }

    QDateEdit* edit_;
    QLineEdit* line_;
    std::optional<QString> typed_;
};

} // namespace

void makeDateField(QDateEdit* edit, QLabel* weekday) {
    edit->setKeyboardTracking(false);
    edit->installEventFilter(new WholeDateTyping(edit));
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    auto name = [edit, weekday, italian] {
        weekday->setText(italian.dayName(edit->date().dayOfWeek(), QLocale::LongFormat));
    };
    QObject::connect(edit, &QDateEdit::dateChanged, weekday, name);
    name();
}

} // namespace zeb

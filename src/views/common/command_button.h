#pragma once

#include <QPushButton>

namespace zeb {

// A push button whose caption wraps at blanks onto as many lines as the button needs, so that
// captions such as "MODIFICA DATI STAZIONE" fit their narrow buttons. text() is the caption
// exactly as given.
class CommandButton : public QPushButton {
public:
    explicit CommandButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace zeb

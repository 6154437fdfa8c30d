#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace zeb {

// Asks where to save a picture or a document, then writes it there with `write`; a write that
// fails is told in a warning over `parent`. Nothing happens when the dialog is cancelled.
void askAndExport(QWidget* parent, const QString& title, const QString& filter,
                  const std::function<bool(const QString&)>& write);

} // namespace zeb

#pragma once

#include <QString>

class QDialog;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace zeb {

// The foot of a dialog that shows what OK will do: "Ante&prima:" over `preview`, which takes the
// room left, `summary` under it, then OK (captioned `okText`, named `okName`) and Annulla. OK
// accepts the dialog and Annulla rejects it; the dialog enables OK as its preview allows.
QPushButton* addPreviewFoot(QDialog& dialog, QVBoxLayout& layout, QWidget* preview, QLabel* summary,
                            const QString& okText, const char* okName);

} // namespace zeb

#pragma once

#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace zeb {

class DialogPrompts;

// What an export writes: the dialog's caption, the kind of file ("Documento PDF"), the name to
// start from and the extension added to a name typed without one ("pdf").
struct ExportFile {
    QString title;
    QString kind;
    QString suggestedName;
    QString extension;
};

// Asks through `prompts`, over `window`, where to write `file`, then writes it there with
// `write`, which returns why it could not (empty when written); a write that fails is told in a
// warning with its reason. Nothing happens when the dialog is cancelled.
void askAndExport(DialogPrompts& prompts, QWidget* window, const ExportFile& file,
                  const std::function<std::string(const std::string&)>& write);

} // namespace zeb

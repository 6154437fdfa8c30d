#include "views/export_prompt.h"

#include "controls/file_names.h"
#include "views/dialog_prompts.h"

#include <QWidget>

namespace zeb {

void askAndExport(DialogPrompts& prompts, QWidget* window, const ExportFile& file,
                  const std::function<bool(const QString&)>& write) {
    const DialogPrompts::Over over(prompts, window);
    const std::string extension = file.extension.toStdString();
    const auto chosen = prompts.askSaveFileName(
        {(file.kind + " (*." + file.extension + ") ").toStdString(), "*." + extension,
         file.suggestedName.toStdString(), extension, file.title.toStdString()});
    if (!chosen)
        return;
    const QString path = QString::fromStdString(withExtension(*chosen, extension));
    if (!write(path))
        prompts.showMessage("Non è stato possibile scrivere " + path.toStdString() + ".",
                            window->windowTitle().toStdString(), MessageIcon::Exclamation,
                            MessageButtons::Ok);
}

} // namespace zeb

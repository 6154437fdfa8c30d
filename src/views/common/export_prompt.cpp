#include "views/common/export_prompt.h"

#include "controls/file_names.h"
#include "views/common/dialog_prompts.h"

#include <QWidget>

namespace zeb {

void askAndExport(DialogPrompts& prompts, QWidget* window, const ExportFile& file,
                  const std::function<std::string(const std::string&)>& write) {
    const DialogPrompts::Over over(prompts, window);
    const std::string extension = file.extension.toStdString();
    const auto chosen = prompts.askSaveFileName(
        {(file.kind + " (*." + file.extension + ") ").toStdString(), "*." + extension,
         file.suggestedName.toStdString(), extension, file.title.toStdString()});
    if (!chosen)
        return;
    const std::string path = withExtension(*chosen, extension);
    if (const std::string error = write(path); !error.empty())
        prompts.showMessage("Non è stato possibile scrivere " + path + ": " + error + ".",
                            window->windowTitle().toStdString(), MessageIcon::Exclamation,
                            MessageButtons::Ok);
}

} // namespace zeb

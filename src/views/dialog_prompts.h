#pragma once

#include "controls/user_prompts.h"

#include <functional>
#include <memory>

class QDialog;
class QProgressDialog;
class QWidget;

namespace zeb {

// The editor's questions put to a person with Qt: message boxes, the file dialogs and the two
// modal windows.
//
// Tests answer through the hooks instead: where a hook is set, no box or file dialog is shown,
// and the station dialog, shown modelessly, is handed to `onStationDialog` to be driven before
// it would wait for the user.
class DialogPrompts : public EditorUi {
public:
    struct Message {
        std::string text;
        std::string title;
        MessageIcon icon;
        MessageButtons buttons;
    };

    explicit DialogPrompts(QWidget* parent);
    ~DialogPrompts() override;

    std::function<Answer(const Message&)> onMessage;
    std::function<std::optional<std::string>(const FileFilter&)> onFileDialog;
    std::function<void(QDialog&)> onStationDialog;

    Answer showMessage(const std::string& text, const std::string& title, MessageIcon icon,
                       MessageButtons buttons) override;
    std::optional<std::string> askSaveFileName(const FileFilter& filter) override;
    std::optional<std::string> askOpenFileName(const FileFilter& filter) override;
    void openStationDialog(Scenario& scenario, ListBox& editorTrackList) override;
    void openContributionWindow() override;
    bool showProgress(const std::string& what, std::size_t done, std::size_t total) override;

    // The window the boxes belong to, for a question asked from another window than the editor.
    QWidget* parentWindow() const { return parent_; }
    void setParentWindow(QWidget* parent) { parent_ = parent; }

private:
    QWidget* parent_;
    std::unique_ptr<QProgressDialog> progress_;
};

} // namespace zeb

#pragma once

#include "controls/user_prompts.h"

#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QProgressDialog;
class QWidget;

namespace zeb {

// The editor's questions put to a person with Qt: message boxes, the file dialogs and the two
// modal windows.
//
// Every modal question of the editor and its windows goes through here. Tests answer through the
// hooks instead: where a hook is set, no box or file dialog is shown, and a dialog (the station
// dialog, the tools' dialogs, the questions with buttons of their own) is shown without waiting
// and handed to `onDialog` to be driven; one it leaves open is closed as Annulla, so that a
// failed check inside never leaves a test waiting for a person.
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
    std::function<void(QDialog&)> onDialog;
    // The page of the guide that explains a dialog, by its name; F1 in the dialog opens it.
    std::function<QString(const QDialog&)> guidePage;

    Answer showMessage(const std::string& text, const std::string& title, MessageIcon icon,
                       MessageButtons buttons) override;
    std::optional<std::string> askSaveFileName(const FileFilter& filter) override;
    std::optional<std::string> askOpenFileName(const FileFilter& filter) override;
    void openStationDialog(Scenario& scenario, ListBox& editorTrackList) override;
    void openContributionWindow() override;
    // Shows `dialog` modally and returns its result (QDialog::Accepted or Rejected). F1 there
    // opens the guide on its page, in a window of the dialog's own while the dialog holds the
    // program.
    int runDialog(QDialog& dialog);
    bool showProgress(const std::string& what, std::size_t done, std::size_t total) override;

    // The window the boxes belong to, for a question asked from another window than the editor.
    QWidget* parentWindow() const { return parent_; }
    void setParentWindow(QWidget* parent) { parent_ = parent; }

    // Puts the questions over another window than the editor while it lives.
    class Over {
    public:
        Over(DialogPrompts& prompts, QWidget* window)
            : prompts_(prompts), before_(prompts.parentWindow()) {
            prompts.setParentWindow(window);
        }
        ~Over() { prompts_.setParentWindow(before_); }
        Over(const Over&) = delete;
        Over& operator=(const Over&) = delete;

    private:
        DialogPrompts& prompts_;
        QWidget* before_;
    };

private:
    QWidget* parent_;
    std::unique_ptr<QProgressDialog> progress_;
};

} // namespace zeb

#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace zeb {

struct Scenario;
struct ListBox;

enum class MessageIcon { None, Information, Question, Exclamation };
// YesNoDefaultNo: a question whose Yes throws work away, answered No by Enter.
enum class MessageButtons { Ok, YesNo, SaveDiscardCancel, YesNoDefaultNo, OverwriteReloadCancel };
enum class Answer { Ok, Yes, No, Save, Discard, Cancel, Overwrite, Reload };

// What the windows' logic needs a person for: message boxes. A box with Yes and No answers
// No when it is closed any other way; one with Salva, Non salvare and Annulla, or with
// Sovrascrivi, Ricarica and Annulla, answers Cancel.
class MessageUi {
public:
    virtual ~MessageUi() = default;
    // `text` may hold CR LF line breaks. An empty title stands for the program's name.
    virtual Answer showMessage(const std::string& text, const std::string& title, MessageIcon icon,
                               MessageButtons buttons) = 0;
};

// The one filter entry of a file dialog; an export also suggests a name and adds its extension
// to a name typed without one.
struct FileFilter {
    std::string description;     // "File Zebrano (*.zeb) "
    std::string pattern;         // "*.zeb"
    std::string suggestedName{}; // a path: the dialog starts in its folder
    std::string extension{};     // "csv"; empty: the name stays as typed
    std::string title{};         // the dialog's caption; empty: the toolkit's own
};

// The editor window's needs: messages, the two file dialogs and its modal windows.
class EditorUi : public MessageUi {
public:
    // The chosen path, or nullopt when the user cancels. The save dialog asks before an
    // existing file is overwritten and adds no extension.
    virtual std::optional<std::string> askSaveFileName(const FileFilter& filter) = 0;
    virtual std::optional<std::string> askOpenFileName(const FileFilter& filter) = 0;
    // Open the window modally; they return once it has closed. The station dialog works on
    // the scenario and rebuilds the editor's track list when it closes.
    virtual void openStationDialog(Scenario& scenario, ListBox& editorTrackList) = 0;
    virtual void openContributionWindow() = 0;
    // Long work tells how far it has come: a window with Annulla appears once it takes a while,
    // and the answer is false once the user has cancelled. done == total closes it.
    virtual bool showProgress(const std::string& what, std::size_t done, std::size_t total) = 0;
};

} // namespace zeb

#pragma once

#include "document/scenario_document.h"
#include "model/scenario.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace zeb {

// A scenario as a command works on it: the same document the editor opens, with the editor's
// data beside the file, so that a command and the editor cannot differ. Nobody is there to
// answer a question: a command that would ask one does nothing.
class ToolDocument : private MessageUi {
public:
    ToolDocument() : s_(std::make_unique<Scenario>()), document_(*s_, *this) {}
    Scenario& scenario() { return *s_; }
    ScenarioDocument& document() { return document_; }
    const TrainLinks& links() const { return document_.links(); }
    const EditorData& data() const { return document_.data(); }

private:
    Answer showMessage(const std::string&, const std::string&, MessageIcon,
                       MessageButtons) override {
        return Answer::Cancel;
    }

    std::unique_ptr<Scenario> s_; // a scenario is too big for the stack
    ScenarioDocument document_;
};

// The scenario at `path` with its editor's data, or null with its "number description" on
// `err`. What cannot be read of the editor's data is said by the options that read it first.
std::unique_ptr<ToolDocument> openDocument(const std::string& path, std::ostream& err);
// Saves the document as `path`, the scenario with its editor's data as one (neither is written
// where either fails); false with the "number description" of what failed on `err`.
bool saveDocument(ToolDocument& document, const std::string& path, std::ostream& err);

} // namespace zeb

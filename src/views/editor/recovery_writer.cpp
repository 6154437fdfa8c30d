#include "views/editor/recovery_writer.h"

#include "scenario_file/scenario_file_error.h"
#include "scenario_file/scenario_writer.h"

namespace zeb {

RecoveryWriter::RecoveryWriter(const Scenario& scenario, QObject* parent)
    : QObject(parent), s_(scenario), store_(RecoveryStore::defaultFolder()) {
    delay_.setSingleShot(true);
    delay_.setInterval(1000);
    connect(&delay_, &QTimer::timeout, this, &RecoveryWriter::writeNow);
    writer_.setMaxThreadCount(1); // copies are written in the order they were made
}

RecoveryWriter::~RecoveryWriter() {
    writer_.waitForDone();
}

void RecoveryWriter::changed() {
    if (!delay_.isActive())
        delay_.start();
}

void RecoveryWriter::discard() {
    delay_.stop();
    writer_.waitForDone();
    if (copyKept_)
        store_.remove();
    copyKept_ = false;
}

void RecoveryWriter::flush() {
    if (delay_.isActive()) {
        delay_.stop();
        writeNow();
    }
    writer_.waitForDone();
}

void RecoveryWriter::writeNow() {
    std::string bytes;
    try {
        bytes = scenarioFileBytes(s_); // the scenario as it is now, on the editor's thread
    } catch (const ScenarioFileError&) {
        return; // a text SALVA would refuse too: the last good copy stays
    }
    EditorData data = editorData_ ? editorData_() : EditorData{};
    copyKept_ = true;
    writer_.start([this, bytes = std::move(bytes), data = std::move(data)] {
        try {
            store_.write(bytes, data);
        } catch (const ScenarioFileError&) {
            // A full disk or a folder that went away: the next change tries again.
        }
    });
}

} // namespace zeb

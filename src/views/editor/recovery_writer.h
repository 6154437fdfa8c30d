#pragma once

#include "companion/editor_data.h"
#include "model/scenario.h"
#include "recovery/recovery_store.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <string>

namespace zeb {

// Keeps this editor's recovery copy of a scenario with unsaved changes: a copy is written within
// a second or two after a change, on a thread of its own so that the editor never waits for the
// disk, and removed at a clean end.
class RecoveryWriter : public QObject {
public:
    RecoveryWriter(const Scenario& scenario, QObject* parent = nullptr);
    ~RecoveryWriter() override;

    RecoveryStore& store() { return store_; }
    // The editor's data to keep beside each copy.
    void setEditorData(std::function<EditorData()> editorData) {
        editorData_ = std::move(editorData);
    }
    // The scenario changed and is not saved: a copy is due.
    void changed();
    // A clean end (saved, closed): no copy is kept.
    void discard();
    // Writes the due copy now and waits for it (for the end of a session and for tests).
    void flush();

private:
    void writeNow();

    const Scenario& s_;
    RecoveryStore store_;
    QTimer delay_;
    QThreadPool writer_;
    bool copyKept_ = false;
    std::function<EditorData()> editorData_;
};

} // namespace zeb

#pragma once

#include "companion/editor_data.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// The recovery copies of unsaved scenarios, in a folder of the user's state: each running editor
// writes its own copy, named after its process, and holds a lock on it while it runs, so that
// two editors never touch each other's copies and a copy whose editor is gone can be told apart.
//
// A lock file is made and locked under another name and only then put in place, so no other
// editor ever finds it unlocked while its editor runs; a copy or a lock is removed only by the
// holder of its lock.
class RecoveryStore {
public:
    // The folder is made if it is missing, and cleared of the temporary files of writers that are
    // gone; an editor that cannot lock its name works without.
    explicit RecoveryStore(std::string folder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // $XDG_STATE_HOME/zebrano-editor/recupero, or ~/.local/state/zebrano-editor/recupero.
    static std::string defaultFolder();

    const std::string& folder() const { return folder_; }
    // This editor's copy.
    const std::string& ownCopy() const { return ownCopy_; }
    // Writes this editor's copy and the editor's data beside it as one save; throws
    // ScenarioFileError. The data go with the copy wherever it goes.
    void write(const std::string& bytes, const EditorData& editorData = {}) const;
    // Removes this editor's copy, after a clean end.
    void remove() const;

    // The copies of editors that are no longer running, the newest first.
    struct Orphan {
        std::string path;
        std::time_t modified;
    };
    std::vector<Orphan> orphans() const;
    // Keeps an orphan aside under a dated name, never offered again; returns the new path.
    std::string setAside(const std::string& path) const;
    // Makes an orphan this editor's own copy; returns false when it cannot.
    bool adopt(const std::string& path) const;

    // Tests widen the windows of the races: called at "lock-locked" (the own lock made and locked,
    // not yet in place), "aside-renaming" (a copy about to take the dated name given) and
    // "orphan-found" (each orphan listed, before anyone reads it).
    static std::function<void(std::string_view moment, const std::string& path)>& testHook();

private:
    std::string folder_;
    std::string ownCopy_;
    std::string ownLock_;
    std::intptr_t lock_ = -1; // the own lock's handle; -1 for none
};

} // namespace zeb

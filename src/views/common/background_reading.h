#pragma once

#include "gtfs/station_day.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace zeb {

// How work run off the window's thread ended: done, cancelled by the user, or failed with a
// message to show (a feed's error, memory run out, any other failure).
struct BackgroundOutcome {
    bool done = false;
    std::optional<std::string> failure;
};

// Runs `work` on a thread of its own while `parent` shows a window-modal progress dialog with
// Annulla; returns when the work ends. Work that reports no progress shows a busy bar. The work
// must not touch widgets: read what it needs from them before.
BackgroundOutcome readInBackground(QWidget* parent, const QString& label,
                                   const std::function<void(const ScanProgress&)>& work);

} // namespace zeb

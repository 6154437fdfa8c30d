#include "views/common/background_reading.h"

#include "gtfs/gtfs_error.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <exception>
#include <memory>
#include <new>

namespace zeb {

namespace {

std::optional<std::string> failureOf(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const GtfsError& error) {
        return error.message();
    } catch (const std::bad_alloc&) {
        return "La memoria non basta per leggere questo feed: nulla è stato importato.";
    } catch (const std::exception& error) {
        return std::string("La lettura del feed non è riuscita: ") + error.what();
    }
}

} // namespace

BackgroundOutcome readInBackground(QWidget* parent, const QString& label,
                                   const std::function<void(const ScanProgress&)>& work) {
    std::atomic<int> permille{-1};
    std::atomic<bool> cancelled{false};
    std::exception_ptr failure;
    bool wasCancelled = false;
    const std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            work([&](std::uint64_t read, std::uint64_t total) {
                permille = total == 0 ? 0 : static_cast<int>(read * 1000 / total);
                return !cancelled;
            });
        } catch (const ScanCancelled&) {
            wasCancelled = true;
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QProgressDialog progress(label, "&Annulla", 0, 0, parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    QObject::connect(&progress, &QProgressDialog::canceled, [&] { cancelled = true; });
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const int value = permille;
        if (value >= 0 && progress.maximum() == 0)
            progress.setMaximum(1000);
        progress.setValue(std::max(value, 0));
    });
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    thread->start();
    poll.start();
    loop.exec();
    thread->wait();
    QApplication::restoreOverrideCursor();
    if (failure)
        return {false, failureOf(failure)};
    return {!wasCancelled && !cancelled, std::nullopt};
}

} // namespace zeb

#include "views/common/window_geometry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace zeb {

namespace {

QString settingsKey(const QString& key) {
    return "finestre/" + key;
}

} // namespace

WindowGeometry::WindowGeometry(QWidget* window, QString key, QSize preferred)
    : QObject(window), window_(window), key_(std::move(key)), preferred_(preferred) {
    restore();
    window_->installEventFilter(this);
}

void WindowGeometry::restore() {
    QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QByteArray saved = QSettings().value(settingsKey(key_)).toByteArray();
    if (!saved.isEmpty() && window_->restoreGeometry(saved) &&
        available.contains(window_->frameGeometry()))
        return;
    // Room for the window's frame and a panel: nine tenths of the area at most.
    window_->resize(preferred_.boundedTo(available.size() * 0.9));
}

void WindowGeometry::save() const {
    QSettings().setValue(settingsKey(key_), window_->saveGeometry());
}

bool WindowGeometry::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && (event->type() == QEvent::Hide || event->type() == QEvent::Close))
        save();
    return QObject::eventFilter(watched, event);
}

} // namespace zeb

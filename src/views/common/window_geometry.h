#pragma once

#include <QObject>
#include <QSize>
#include <QString>

class QWidget;

namespace zeb {

// Sizes a window of our own within the screen it opens on, at any scale factor, and keeps its
// size and place between runs under `key`: the place of the last run where it still fits the
// screen, else `preferred` shrunk to the available area.
class WindowGeometry : public QObject {
public:
    WindowGeometry(QWidget* window, QString key, QSize preferred);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restore();
    void save() const;

    QWidget* window_;
    QString key_;
    QSize preferred_;
};

} // namespace zeb

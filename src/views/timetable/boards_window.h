#pragma once

#include "boards/announcements.h"
#include "companion/editor_data.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class QSpinBox;
class QTableWidget;
class QTimeEdit;
class QTimer;

namespace zeb {

class DialogPrompts;
class TimetableWatch;

// "Tabelloni": the departures and arrivals boards, the track indicators and the announcements of
// the last half hour at a minute of the day, as the editor's rules play the scenario; a clock to
// move through the day or play it. It follows every change of the scenario.
class BoardsWindow : public QWidget {
public:
    struct Editor {
        std::function<bool(int)> showTrain;            // a double click on a row's train
        std::function<std::string()> baseDayPath;      // the base day, for the tracks it changes
        std::function<BoardChoices()> choices;         // as the editor's data keep them
        std::function<void(const BoardChoices&)> keep; // a choice changed, to be kept there
    };
    BoardsWindow(TimetableWatch& watch, Editor editor, DialogPrompts& prompts,
                 QWidget* parent = nullptr);
    ~BoardsWindow() override;

    // The minute shown, minutes after the day's start.
    int minute() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLayout* buildClock();
    QLayout* buildSettings();
    // "Esporta immagine…" and "Esporta PDF…": the boards at the minute shown.
    void exportPicture(bool pdf);
    QWidget* buildBoards();
    void replay();      // the scenario or the settings changed: the day played again
    void showChoices(); // the delays, seed, rows and horizon as the editor's data have them
    BoardChoices choices() const;
    void refresh(); // the minute changed: the boards again
    void setMinute(int minute);
    void fillBoard(QTableWidget* table, QLabel* more, const Board& board);
    void fillIndicators();
    void fillAnnouncements();

    TimetableWatch& watch_;
    Editor editor_;
    DialogPrompts& prompts_;
    std::unique_ptr<Scenario> base_;
    PlayedDay day_;
    std::vector<Announcement> said_;
    BoardSettings settings_;

    QSlider* slider_;
    QTimeEdit* clock_;
    QPushButton* play_;
    QComboBox* speed_;
    QComboBox* delays_;
    QSpinBox* seed_;
    QComboBox* rows_;
    QSpinBox* horizon_;
    QTableWidget* departures_;
    QTableWidget* arrivals_;
    QLabel* moreDepartures_;
    QLabel* moreArrivals_;
    QTableWidget* indicators_;
    QListWidget* announcements_;
    QTimer* player_;
};

} // namespace zeb

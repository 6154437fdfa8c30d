#pragma once

#include "model/scenario.h"
#include "model/track_rule.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QTableWidget;
class QTableWidgetItem;

namespace zeb {

class DialogPrompts;

// "Regole binari": the station's track rules in their order, a row each, every cell checked as
// it is typed; rules added, removed, moved, read from a CSV file and written to one. Under the
// table, how many trains each rule takes today. OK gives the rules once each can stand.
class TrackRulesDialog : public QDialog {
public:
    TrackRulesDialog(const Scenario& scenario, TrackRules rules, DialogPrompts& prompts,
                     QWidget* parent = nullptr);

    const TrackRules& rules() const { return rules_; }

    void accept() override;

private:
    void fillTable();
    void cellEdited(QTableWidgetItem* item);
    void addRule();
    void removeRule();
    void moveRule(int step);
    void importRules();
    void exportRules();
    void refreshCounts();
    int showFirstFault();
    QLayout* buildButtons();

    const Scenario& scenario_;
    TrackRules rules_;
    DialogPrompts& prompts_;
    std::vector<std::string> tracks_;
    QTableWidget* table_;
    QLabel* counts_;
    QLabel* error_;
};

} // namespace zeb

#pragma once

#include <QSortFilterProxyModel>

namespace zeb {

// The train table as the user narrows it: rows whose number, origin, destination, stops or notes
// contain the filter text (letter case ignored), optionally only those with findings or only those
// on a track their rule forbids; sorted by the model's sort keys.
class TrainFilterModel : public QSortFilterProxyModel {
public:
    explicit TrainFilterModel(QObject* parent = nullptr);

    void setFilterText(const QString& text);
    void setOnlyProblems(bool only);
    void setOnlyOutsideRules(bool only);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString text_;
    bool onlyProblems_ = false;
    bool onlyOutsideRules_ = false;
};

} // namespace zeb

#include "views/timetable/train_filter_model.h"

#include "views/timetable/train_table_model.h"

namespace zeb {

TrainFilterModel::TrainFilterModel(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(TrainTableModel::SortRole);
    setDynamicSortFilter(true);
}

void TrainFilterModel::setFilterText(const QString& text) {
    text_ = text.trimmed();
    invalidateRowsFilter();
}

void TrainFilterModel::setOnlyProblems(bool only) {
    onlyProblems_ = only;
    invalidateRowsFilter();
}

void TrainFilterModel::setOnlyOutsideRules(bool only) {
    onlyOutsideRules_ = only;
    invalidateRowsFilter();
}

bool TrainFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const QModelIndex row = sourceModel()->index(sourceRow, 0, sourceParent);
    if (onlyProblems_ && !row.data(TrainTableModel::HasFindingsRole).toBool())
        return false;
    if (onlyOutsideRules_ && !row.data(TrainTableModel::OutsideRuleRole).toBool())
        return false;
    return text_.isEmpty() ||
           row.data(TrainTableModel::SearchRole).toString().contains(text_, Qt::CaseInsensitive);
}

} // namespace zeb

#pragma once

#include "views/timetable/timetable_watch.h"

#include <QAbstractTableModel>

#include <functional>
#include <string>
#include <vector>

namespace zeb {

// The stored trains as a table, one row per train in table order, over the shared scenario;
// only the links are edited in it, by a train's number, through `editLink`. It follows the watch
// with the narrowest signals that are true (a row inserted, changed or removed; a reset only for a
// new scenario), so that views keep selection and scroll.
class TrainTableModel : public QAbstractTableModel {
public:
    enum Column {
        Pos,
        Numero,
        Categoria,
        Provenienza,
        Arrivo,
        Destinazione,
        Partenza,
        Binario,
        Ritardo,
        Sussidiaria,
        Fermate,
        Note,
        ProvieneDa,   // the train whose unit leaves again as this one
        ProsegueCome, // the train this one's unit leaves again as
        ColumnCount
    };
    // The key the columns sort by: positions as numbers, times as minutes of the day (trains
    // without that time last), the rest as text.
    static constexpr int SortRole = Qt::UserRole;
    // Number, origin, destination, stops and notes together, for the filter.
    static constexpr int SearchRole = Qt::UserRole + 1;
    // True on the rows of trains that have findings.
    static constexpr int HasFindingsRole = Qt::UserRole + 2;
    static constexpr int OutsideRuleRole = Qt::UserRole + 3; // on a track its rule forbids

    explicit TrainTableModel(TimetableWatch& watch, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // A link typed in "Proviene da" or "Prosegue come": the train, which way, the number typed.
    std::function<void(int train, LinkSide side, const std::string& number)> editLink;

private:
    // The narrowest signals that are true: rows changed, inserted or removed, a reset only for a
    // new scenario.
    void applyChange(const ScenarioChange& change);
    void applyRun(const TrainRun& run);
    void markFindings();
    void rowsChanged(int first, int last);
    QVariant displayed(int train, int column) const;
    QVariant sortKey(int train, int column) const;
    // The number of the train linked to `train` that way, or empty.
    QString linkedNumber(int train, LinkSide side) const;

    TimetableWatch& watch_;
    int rows_ = 0; // the rows announced to the views, which may lag a change by one signal
    std::vector<std::vector<int>> findingsOfTrain_;
};

} // namespace zeb

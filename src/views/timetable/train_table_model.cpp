#include "views/timetable/train_table_model.h"

#include "model/value_tables.h"
#include "timetable/train_times.h"

#include <QApplication>
#include <QColor>
#include <QIcon>
#include <QStyle>

#include <climits>

namespace zeb {

namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

// "7:05"-like texts as stored; empty for an end the train does not have.
// HH:MM as a timetable reads; a time that is not valid as stored, for the error mark to explain.
QString timeText(const Treno& t, TrainEnd end) {
    if (!hasEnd(t, end))
        return QString();
    const auto minute = endMinute(t, end);
    return qt(minute ? clockText(*minute) : storedTime(t, end));
}

} // namespace

TrainTableModel::TrainTableModel(TimetableWatch& watch, QObject* parent)
    : QAbstractTableModel(parent), watch_(watch), rows_(watch.scenario().totale_treni) {
    connect(&watch_, &TimetableWatch::changed, this, &TrainTableModel::applyChange);
    connect(&watch_, &TimetableWatch::findingsChanged, this, &TrainTableModel::markFindings);
    connect(&watch_, &TimetableWatch::shownTrainChanged, this, [this](int previous, int current) {
        for (int row : {previous, current}) {
            if (row >= 0 && row < rows_)
                rowsChanged(row, row);
        }
    });
    markFindings();
}

int TrainTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TrainTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrainTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kHeads[ColumnCount] = {
        "Pos.",         "Numero",   "Categoria",   "Provenienza",  "Arrivo",
        "Destinazione", "Partenza", "Binario",     "Ritardo",      "Indicazione sussidiaria",
        "Fermate",      "Note",     "Proviene da", "Prosegue come"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return QString::fromUtf8(kHeads[section]);
}

QVariant TrainTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.row() >= watch_.scenario().totale_treni)
        return {};
    const int train = index.row();
    const auto& findings = findingsOfTrain_[static_cast<std::size_t>(train)];
    switch (role) {
    case Qt::DisplayRole:
        return displayed(train, index.column());
    case SortRole:
        return sortKey(train, index.column());
    case SearchRole: {
        const Treno& t = watch_.scenario().treni[train];
        return qt(t.numero + "\n" + t.provenienza + "\n" + t.destinazione + "\n" + t.fermate +
                  "\n" + t.note);
    }
    case HasFindingsRole:
        return !findings.empty();
    case OutsideRuleRole:
        return watch_.outsideRule(train);
    case Qt::ToolTipRole: {
        // Five at most, so that the tip never covers the table.
        constexpr std::size_t kShown = 5;
        QStringList lines;
        for (std::size_t k = 0; k < std::min(kShown, findings.size()); ++k)
            lines << qt(watch_.findings()[static_cast<std::size_t>(findings[k])].message);
        if (findings.size() > kShown)
            lines << "…";
        return lines.isEmpty() ? QVariant() : QVariant(lines.join('\n'));
    }
    case Qt::DecorationRole: {
        if (index.column() != Pos || findings.empty())
            return {};
        bool error = false;
        for (int f : findings)
            error =
                error || watch_.findings()[static_cast<std::size_t>(f)].severity == Severity::Error;
        return QApplication::style()->standardIcon(error ? QStyle::SP_MessageBoxCritical
                                                         : QStyle::SP_MessageBoxWarning);
    }
    case Qt::BackgroundRole:
        return train == watch_.shownTrain() ? QVariant(QColor(255, 236, 150)) : QVariant();
    default:
        return {};
    }
}

QVariant TrainTableModel::displayed(int train, int column) const {
    const Treno& t = watch_.scenario().treni[train];
    switch (column) {
    case Pos:
        return train + 1;
    case Numero:
        return qt(t.numero);
    case Categoria:
        return qt(t.categoria);
    case Provenienza:
        return qt(t.provenienza);
    case Arrivo:
        return timeText(t, TrainEnd::Arrival);
    case Destinazione:
        return qt(t.destinazione);
    case Partenza:
        return timeText(t, TrainEnd::Departure);
    case Binario:
        return isCategoriaSenzaBinario(t.categoria) ? QString() : qt(t.binario);
    case Ritardo:
        return qt(t.ritardo);
    case Sussidiaria:
        return qt(t.sussidiaria);
    case Fermate:
        return hasDeparture(t) ? qt(std::string(stopsWithoutFine(t.fermate))) : QString();
    case Note:
        return qt(t.note);
    case ProvieneDa:
        return linkedNumber(train, LinkSide::Back);
    case ProsegueCome:
        return linkedNumber(train, LinkSide::Onward);
    default:
        return {};
    }
}

QVariant TrainTableModel::sortKey(int train, int column) const {
    const Treno& t = watch_.scenario().treni[train];
    switch (column) {
    case Pos:
        return train;
    case Arrivo:
        return hasArrival(t) ? arrivalMinute(t).value_or(INT_MAX - 1) : INT_MAX;
    case Partenza:
        return hasDeparture(t) ? departureMinute(t).value_or(INT_MAX - 1) : INT_MAX;
    case Numero: {
        bool number = false;
        const qlonglong value = qt(t.numero).toLongLong(&number);
        return number ? QVariant(value) : QVariant(LLONG_MAX);
    }
    default:
        return displayed(train, column);
    }
}

QString TrainTableModel::linkedNumber(int train, LinkSide side) const {
    const bool onward = side == LinkSide::Onward;
    for (const TrainLink& link : watch_.links()) {
        if ((onward ? link.arriving : link.leaving) == train) {
            const int other = onward ? link.leaving : link.arriving;
            return other < watch_.scenario().totale_treni
                       ? qt(watch_.scenario().treni[other].numero)
                       : QString();
        }
    }
    return {};
}

Qt::ItemFlags TrainTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (!index.isValid() || index.row() >= watch_.scenario().totale_treni)
        return flags;
    const Treno& t = watch_.scenario().treni[index.row()];
    if ((index.column() == ProsegueCome && endsHere(t)) ||
        (index.column() == ProvieneDa && startsHere(t)))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TrainTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || !editLink)
        return false;
    editLink(index.row(), index.column() == ProsegueCome ? LinkSide::Onward : LinkSide::Back,
             value.toString().trimmed().toStdString());
    return true;
}

void TrainTableModel::applyChange(const ScenarioChange& change) {
    if (!change.replaced) {
        for (const TrainRun& run : change.runs)
            applyRun(run);
    }
    const int total = watch_.scenario().totale_treni;
    if (change.replaced || rows_ != total) {
        beginResetModel();
        rows_ = total;
        findingsOfTrain_.assign(static_cast<std::size_t>(total), {});
        endResetModel();
    } else if (change.station && rows_ > 0) {
        rowsChanged(0, rows_ - 1); // a track the station gained or lost
    } else if (change.links && rows_ > 0) {
        emit dataChanged(index(0, ProvieneDa), index(rows_ - 1, ProsegueCome));
    }
}

void TrainTableModel::applyRun(const TrainRun& run) {
    const int common = std::min(run.removed, run.inserted);
    if (run.position < 0 || run.position + run.removed > rows_)
        return; // not the table's rows: the count check starts it afresh
    if (common > 0)
        rowsChanged(run.position, run.position + common - 1);
    const int first = run.position + common;
    const auto at = findingsOfTrain_.begin() + first;
    if (run.inserted > run.removed) {
        beginInsertRows({}, first, run.position + run.inserted - 1);
        rows_ += run.inserted - run.removed;
        findingsOfTrain_.insert(at, static_cast<std::size_t>(run.inserted - run.removed), {});
        endInsertRows();
    } else if (run.removed > run.inserted) {
        beginRemoveRows({}, first, run.position + run.removed - 1);
        rows_ -= run.removed - run.inserted;
        findingsOfTrain_.erase(at, at + (run.removed - run.inserted));
        endRemoveRows();
    }
    // The later trains moved: their positions are new.
    if (run.removed != run.inserted && run.position + run.inserted < rows_)
        rowsChanged(run.position + run.inserted, rows_ - 1);
}

void TrainTableModel::markFindings() {
    findingsOfTrain_.assign(static_cast<std::size_t>(rows_), {});
    const auto& findings = watch_.findings();
    for (std::size_t f = 0; f < findings.size(); ++f) {
        for (int train : findings[f].trains) {
            if (train < rows_)
                findingsOfTrain_[static_cast<std::size_t>(train)].push_back(static_cast<int>(f));
        }
    }
    if (rows_ > 0) // the marks, their tooltips and the filter of problems
        emit dataChanged(index(0, 0), index(rows_ - 1, ColumnCount - 1),
                         {Qt::DecorationRole, Qt::ToolTipRole, HasFindingsRole, OutsideRuleRole});
}

void TrainTableModel::rowsChanged(int first, int last) {
    emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
}

} // namespace zeb

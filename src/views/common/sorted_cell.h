#pragma once

#include <QStandardItem>
#include <QVariant>

#include <string>

namespace zeb {

// The role a table's sorting proxy reads: each cell sorts by the key it was given.
inline constexpr int kSortKeyRole = Qt::UserRole + 16;

// A read-only cell shown as `text` and sorted by `key`.
inline QStandardItem* sortedCell(const std::string& text, const QVariant& key) {
    auto* item = new QStandardItem(QString::fromStdString(text));
    item->setData(key, kSortKeyRole);
    item->setEditable(false);
    return item;
}

} // namespace zeb

// SPDX-License-Identifier: MIT
#include "graph/data_set_grid_model.h"

#include "core/data/data_set_grid.h"
#include "core/data/data_set_store.h"

namespace kr820::graph {

namespace {
constexpr int kColumns = static_cast<int>(core::kDataSetGridHeadings.size());
}

DataSetGridModel::DataSetGridModel(QObject* parent) : QAbstractTableModel(parent) { Clear(); }

void DataSetGridModel::Fill(const core::TDataSetStore& store, const QLocale& locale) {
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(store.SetCount());
    for (int set = 0; set < store.SetCount(); ++set)
        m_rows.push_back(core::DataSetGridRow(store, set, locale));
    if (m_rows.empty()) m_rows.emplace_back();
    endResetModel();
}

void DataSetGridModel::Clear() {
    beginResetModel();
    m_rows.assign(1, QStringList());
    endResetModel();
}

QString DataSetGridModel::Cell(int row, int column) const {
    if (row < 0 || row >= rowCount()) return {};
    return m_rows[static_cast<std::size_t>(row)].value(column);
}

int DataSetGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int DataSetGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant DataSetGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return Cell(index.row(), index.column());
}

QVariant DataSetGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal && section >= 0 && section < kColumns)
        return QString::fromLatin1(core::kDataSetGridHeadings[section]);
    return {};
}

}  // namespace kr820::graph

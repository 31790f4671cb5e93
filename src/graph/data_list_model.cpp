// SPDX-License-Identifier: MIT
#include "graph/data_list_model.h"

#include "core/chart/chart_data.h"
#include "core/graph/graph_texts.h"

namespace kr820::graph {

DataListModel::DataListModel(QObject* parent)
    : QAbstractListModel(parent), m_locale(core::DisplayLocale(QLocale::system())) {}

void DataListModel::SetLocale(const QLocale& locale) {
    beginResetModel();
    m_locale = core::DisplayLocale(locale);
    endResetModel();
}

void DataListModel::Fill(const core::ChartData& data) {
    beginResetModel();
    const int points = data.Points();
    const auto x = data.X(0);
    const auto t1 = data.Y(0);
    const auto t2 = data.Y(1);
    m_points.clear();
    m_points.reserve(points);
    for (int i = 0; i < points; ++i) {
        const auto at = static_cast<std::size_t>(i);
        m_points.push_back({at < x.size() ? x[at] : 0.0, at < t1.size() ? t1[at] : 0.0f,
                            at < t2.size() ? t2[at] : 0.0f});
    }
    endResetModel();
}

void DataListModel::Append(core::TDateTime x, float t1, float t2) {
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    m_points.push_back({x, t1, t2});
    endInsertRows();
}

void DataListModel::Clear() {
    beginResetModel();
    m_points.clear();
    endResetModel();
}

QString DataListModel::Line(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    const Point& p = m_points[static_cast<std::size_t>(row)];
    return core::DataListLine(row, p.X, p.T1, p.T2, m_locale);
}

int DataListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_points.size());
}

QVariant DataListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return Line(index.row());
}

}  // namespace kr820::graph

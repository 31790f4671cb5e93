// SPDX-License-Identifier: MIT
#include "graph/data_list_model.h"

#include <algorithm>

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

bool DataListModel::GapBefore(const Point& point) const {
    if (m_gapThreshold <= 0 || m_points.empty()) return false;
    const core::TDateTime previous = m_points.back().X;
    // Points without a time (X = 0) are not readings.
    return previous != 0 && point.X != 0 && point.X - previous > m_gapThreshold;
}

void DataListModel::AddRows(int point, bool gap) {
    if (gap) m_rows.push_back({point, true});
    m_rows.push_back({point, false});
}

void DataListModel::Fill(const core::ChartData& data) {
    beginResetModel();
    const int points = data.Points();
    const auto x = data.X(0);
    const auto t1 = data.Y(0);
    const auto t2 = data.Y(1);
    m_points.clear();
    m_rows.clear();
    m_points.reserve(points);
    m_rows.reserve(points);
    std::size_t note = 0;
    for (int i = 0; i < points; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const Point point{at < x.size() ? x[at] : 0.0, at < t1.size() ? t1[at] : 0.0f,
                          at < t2.size() ? t2[at] : 0.0f};
        // Notes are in time order; those before this point follow the one before it.
        for (; note < m_notes.size() && point.X != 0 && m_notes[note].X < point.X; ++note)
            m_rows.push_back({i - 1, false, static_cast<int>(note)});
        const bool gap = GapBefore(point);
        m_points.push_back(point);
        AddRows(i, gap);
    }
    for (; note < m_notes.size(); ++note)
        m_rows.push_back({points - 1, false, static_cast<int>(note)});
    endResetModel();
}

void DataListModel::Append(core::TDateTime x, float t1, float t2) {
    const Point point{x, t1, t2};
    const bool gap = GapBefore(point);
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, gap ? row + 1 : row);
    m_points.push_back(point);
    AddRows(static_cast<int>(m_points.size()) - 1, gap);
    endInsertRows();
}

void DataListModel::AddNote(core::TDateTime x, const QString& text) {
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    m_notes.push_back({x, text});
    m_rows.push_back(
        {static_cast<int>(m_points.size()) - 1, false, static_cast<int>(m_notes.size()) - 1});
    endInsertRows();
}

void DataListModel::Clear() {
    beginResetModel();
    m_points.clear();
    m_rows.clear();
    m_notes.clear();
    endResetModel();
}

QString DataListModel::Line(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    const Row& r = m_rows[static_cast<std::size_t>(row)];
    if (r.Note >= 0)
        return QStringLiteral("  ** %1").arg(m_notes[static_cast<std::size_t>(r.Note)].Text);
    const auto at = static_cast<std::size_t>(r.Point);
    if (r.Gap) return core::NoReadingLine(m_points[at - 1].X, m_points[at].X, m_locale);
    const Point& p = m_points[at];
    return core::DataListLine(r.Point, p.X, p.T1, p.T2, m_locale);
}

int DataListModel::PointOfRow(int row) const {
    if (row < 0 || row >= rowCount()) return -1;
    const Row& r = m_rows[static_cast<std::size_t>(row)];
    return r.Gap || r.Note >= 0 ? -1 : r.Point;
}

int DataListModel::RowOfPoint(int point) const {
    // Rows follow the points, a gap's line just before its point's.
    const auto found = std::lower_bound(
        m_rows.begin(), m_rows.end(), point,
        [](const Row& r, int p) { return r.Point < p || (r.Point == p && r.Gap); });
    // A point's own line comes before its notes.
    if (found == m_rows.end() || found->Point != point) return -1;
    return static_cast<int>(found - m_rows.begin());
}

int DataListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant DataListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return Line(index.row());
}

}  // namespace kr820::graph

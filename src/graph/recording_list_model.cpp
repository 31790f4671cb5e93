// SPDX-License-Identifier: MIT
#include "graph/recording_list_model.h"

#include <algorithm>
#include <limits>

#include "core/graph/graph_texts.h"
#include "graph/recording_plot.h"
#include "store/stored_recording.h"

namespace kr820::graph {
namespace {

// A view counts its rows in an int: a longer recording lists its first 2^31 - 1 readings.
int RowsOf(qint64 readings) {
    return int(std::min<qint64>(readings, std::numeric_limits<int>::max()));
}

}  // namespace

RecordingListModel::RecordingListModel(std::shared_ptr<store::StoredRecording> recording,
                                       const QLocale& locale, QObject* parent)
    : QAbstractListModel(parent),
      m_recording(std::move(recording)),
      m_locale(core::DisplayLocale(locale)),
      m_rows(RowsOf(m_recording->Count())) {}

void RecordingListModel::FollowRecording() {
    const int rows = RowsOf(m_recording->Count());
    if (rows <= m_rows) return;
    beginInsertRows(QModelIndex(), m_rows, rows - 1);
    m_rows = rows;
    endInsertRows();
}

QString RecordingListModel::Line(int row) const {
    if (row < 0 || row >= m_rows) return {};
    const std::optional<store::StoredReading> r = m_recording->Reader().At(row);
    if (!r) return {};
    return core::DataListLine(row, ChartTimeOfMs(r->TimeMs), ChartValue(r->T1, r->T1Valid),
                              ChartValue(r->T2, r->T2Valid), m_locale);
}

int RecordingListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

QVariant RecordingListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return Line(index.row());
}

}  // namespace kr820::graph

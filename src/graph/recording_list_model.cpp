// SPDX-License-Identifier: MIT
#include "graph/recording_list_model.h"

#include <algorithm>
#include <limits>

#include "core/alarms/alarm_descriptions.h"
#include "core/graph/graph_texts.h"
#include "graph/recording_plot.h"
#include "store/alarm_marks.h"
#include "store/stored_recording.h"

namespace kr820::graph {

RecordingListModel::RecordingListModel(std::shared_ptr<store::StoredRecording> recording,
                                       const QLocale& locale, QObject* parent)
    : QAbstractListModel(parent),
      m_recording(std::move(recording)),
      m_locale(core::DisplayLocale(locale)),
      m_readings(m_recording->Count()),
      m_betweens(ReadBetweens()),
      m_rows(RowsFor(m_readings, m_betweens.size())) {}

// A view counts its rows in an int: a longer recording lists its first 2^31 - 1 lines.
int RecordingListModel::RowsFor(qint64 readings, std::size_t betweens) const {
    return int(std::min<qint64>(readings + qint64(betweens), std::numeric_limits<int>::max()));
}

std::vector<RecordingListModel::Between> RecordingListModel::ReadBetweens() {
    store::StoreReader& reader = m_recording->Reader();
    std::vector<Between> betweens;
    // A gap still open has no end yet: it is listed once a reading or the stop ends it.
    for (const store::PlacedGap& placed : m_gapPlaces.Of(reader)) {
        const store::Gap& gap = placed.Span;
        if (!gap.ToMs) continue;
        betweens.push_back({placed.Before,
                            {},
                            true,
                            gap.Cause == store::GapCause::ClockSetBack,
                            gap.FromMs,
                            *gap.ToMs});
    }
    const core::DisplayUnit unit = m_recording->Header().Fahrenheit ? core::DisplayUnit::Fahrenheit
                                                                    : core::DisplayUnit::Celsius;
    for (const store::AlarmMark& mark : reader.AlarmMarks(std::numeric_limits<qint64>::min(),
                                                          std::numeric_limits<qint64>::max())) {
        const std::optional<core::AlarmEvent> event = store::AlarmEventOfMark(mark, unit);
        if (!event) continue;
        // After the last reading taken at or before it, as in a real-time graph's list.
        const qint64 before = mark.TimeMs == std::numeric_limits<qint64>::max()
                                  ? reader.Count()
                                  : reader.LowerBound(mark.TimeMs + 1);
        betweens.push_back({before, core::AlarmEventText(*event), false, false, mark.TimeMs, 0});
    }
    // A gap's line before the marks at its place; gaps in the order they were marked, the marks
    // in time order.
    std::stable_sort(betweens.begin(), betweens.end(), [](const Between& a, const Between& b) {
        if (a.Before != b.Before) return a.Before < b.Before;
        if (a.Gap != b.Gap) return a.Gap;
        return !a.Gap && a.FromMs < b.FromMs;
    });
    return betweens;
}

void RecordingListModel::FollowRecording() {
    const qint64 readings = m_recording->Count();
    std::vector<Between> betweens = ReadBetweens();
    if (readings == m_readings && betweens == m_betweens) return;
    // New lines usually come only after the old ones: rows inserted at the end keep the view's
    // place. A gap closed or a mark among the old readings lists everything anew.
    const bool appended =
        readings >= m_readings && betweens.size() >= m_betweens.size() &&
        std::equal(m_betweens.begin(), m_betweens.end(), betweens.begin()) &&
        std::all_of(betweens.begin() + std::ptrdiff_t(m_betweens.size()), betweens.end(),
                    [this](const Between& b) { return b.Before >= m_readings; });
    const int rows = RowsFor(readings, betweens.size());
    if (appended && rows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, rows - 1);
        m_readings = readings;
        m_betweens = std::move(betweens);
        m_rows = rows;
        endInsertRows();
        return;
    }
    beginResetModel();
    m_readings = readings;
    m_betweens = std::move(betweens);
    m_rows = rows;
    endResetModel();
}

std::optional<std::size_t> RecordingListModel::BetweenAt(int row) const {
    // Line k of m_betweens is at row Before + k, which grows with k.
    const auto found = std::lower_bound(m_betweens.begin(), m_betweens.end(), qint64(row),
                                        [this](const Between& b, qint64 r) {
                                            return b.Before + qint64(&b - m_betweens.data()) < r;
                                        });
    if (found == m_betweens.end()) return std::nullopt;
    const auto k = std::size_t(found - m_betweens.begin());
    if (found->Before + qint64(k) != row) return std::nullopt;
    return k;
}

qint64 RecordingListModel::ReadingOfRow(int row) const {
    if (row < 0 || row >= m_rows || BetweenAt(row)) return -1;
    // The lines before it that are no readings' are those whose row is smaller.
    const auto before = std::partition_point(
        m_betweens.begin(), m_betweens.end(),
        [this, row](const Between& b) { return b.Before + qint64(&b - m_betweens.data()) < row; });
    return row - qint64(before - m_betweens.begin());
}

int RecordingListModel::RowOfReading(qint64 reading) const {
    if (reading < 0 || reading >= m_readings) return -1;
    const auto before =
        std::partition_point(m_betweens.begin(), m_betweens.end(),
                             [reading](const Between& b) { return b.Before <= reading; });
    const qint64 row = reading + qint64(before - m_betweens.begin());
    return row < m_rows ? int(row) : -1;
}

QString RecordingListModel::Line(int row) const {
    if (row < 0 || row >= m_rows) return {};
    store::StoreReader& reader = m_recording->Reader();
    if (const std::optional<std::size_t> k = BetweenAt(row)) {
        const Between& b = m_betweens[*k];
        if (!b.Gap) return QStringLiteral("  ** %1").arg(b.Text);
        // From the last reading before to the first after, as a real-time graph's list says.
        const auto previous = b.Before > 0 ? reader.At(b.Before - 1) : std::nullopt;
        const auto next = b.Before < m_readings ? reader.At(b.Before) : std::nullopt;
        if (b.ClockStep) {
            // One interval after the reading before, the clock read the time of the one after.
            const qint64 intervalMs = qint64(m_recording->Header().RateSeconds) * 1000;
            // The marked times when a reading is missing: clamped, as a damaged file may hold any.
            const auto stored = [](qint64 ms) {
                return std::clamp(ms, -store::kMaxStoredMs, store::kMaxStoredMs);
            };
            const qint64 beforeMs = stored(previous ? previous->TimeMs : b.ToMs);
            const qint64 afterMs = stored(next ? next->TimeMs : b.FromMs);
            return core::ClockSetBackLine(beforeMs + intervalMs - afterMs, ChartTimeOfMs(beforeMs),
                                          m_locale);
        }
        return core::NoReadingLine(ChartTimeOfMs(previous ? previous->TimeMs : b.FromMs),
                                   ChartTimeOfMs(next ? next->TimeMs : b.ToMs), m_locale);
    }
    const qint64 index = ReadingOfRow(row);
    const std::optional<store::StoredReading> r = reader.At(index);
    if (!r) return {};
    return core::DataListLine(int(std::min<qint64>(index, std::numeric_limits<int>::max() - 1)),
                              ChartTimeOfMs(r->TimeMs), ChartValue(r->T1, r->T1Valid),
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

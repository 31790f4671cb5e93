// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractListModel>
#include <QLocale>
#include <memory>
#include <optional>
#include <vector>

#include "store/gap_places.h"

namespace kr820::store {
class StoredRecording;
}

namespace kr820::graph {

// The data list of a recording in its store: one line per reading, written only when the view
// asks for it (a view of uniform rows asks for the lines on screen), so that a recording of any
// length lists at once and memory does not grow with it. Between the readings, as in a
// real-time graph's list, a line says where readings are missing (the store's gaps: a lost link,
// the time no recorder ran), a line where the system clock was set back, and a line marks each
// alarm raised or cleared. Gaps and steps are placed by the readings' order, since times repeat
// after a step back.
class RecordingListModel : public QAbstractListModel {
    Q_OBJECT

public:
    RecordingListModel(std::shared_ptr<store::StoredRecording> recording, const QLocale& locale,
                       QObject* parent = nullptr);

    // Empty outside the list or where the reading does not read.
    QString Line(int row) const;
    // The reading a line shows, -1 for a gap's or a mark's line or outside the list; and the
    // line of a reading.
    qint64 ReadingOfRow(int row) const;
    int RowOfReading(qint64 reading) const;
    // Rows for the readings, gaps and marks the recording gained since.
    void FollowRecording();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    // A line between readings: before reading `Before` (the count of readings at the end).
    struct Between {
        qint64 Before = 0;
        QString Text;  // a mark's; a gap's is written from the readings around it
        bool Gap = false;
        bool ClockStep = false;  // a gap's line that says the clock was set back
        qint64 FromMs = 0;
        qint64 ToMs = 0;
        bool operator==(const Between&) const = default;
    };
    std::vector<Between> ReadBetweens();
    int RowsFor(qint64 readings, std::size_t betweens) const;
    // The index in m_betweens of the line at `row`, or none when a reading's.
    std::optional<std::size_t> BetweenAt(int row) const;

    std::shared_ptr<store::StoredRecording> m_recording;
    QLocale m_locale;
    store::GapPlaces m_gapPlaces;
    qint64 m_readings = 0;
    std::vector<Between> m_betweens;  // in list order
    int m_rows = 0;
};

}  // namespace kr820::graph

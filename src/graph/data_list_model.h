// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractListModel>
#include <QLocale>
#include <vector>

#include "core/time/date_time.h"

namespace kr820::core {
class ChartData;
}

namespace kr820::graph {

// The data list: one line per chart point, and a line saying that no reading was taken wherever
// two points lie further apart than the gap threshold. It keeps the points' values as they were
// when the list was filled and writes a line only when the view asks for it, so that a full
// logger memory (33,000 points) fills at once and scrolls without delay.
class DataListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit DataListModel(QObject* parent = nullptr);

    void SetLocale(const QLocale& locale);
    // In days; 0 (the default) marks no gaps. Applies to the points filled or appended after.
    void SetGapThreshold(core::TDateTime days) { m_gapThreshold = days; }

    // Every point of the chart: X of T1, Y of T1 and Y of T2.
    void Fill(const core::ChartData& data);
    void Append(core::TDateTime x, float t1, float t2);
    // A line of its own after the last point taken before `x`, such as an alarm raised or
    // cleared; notes stay through a refill and go with Clear.
    void AddNote(core::TDateTime x, const QString& text);
    void Clear();

    // Empty outside the list.
    QString Line(int row) const;
    // The point a line shows, -1 for a gap's or a note's line or outside the list; and the line
    // of a point.
    int PointOfRow(int row) const;
    int RowOfPoint(int point) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    struct Point {
        core::TDateTime X;
        float T1;
        float T2;
    };
    // A point's line, or (Gap) the line before it that says no reading came since the last.
    struct Row {
        int Point;
        bool Gap;
        int Note = -1;  // a note's line, after its point's
    };
    struct Note {
        core::TDateTime X;
        QString Text;
    };
    bool GapBefore(const Point& point) const;
    void AddRows(int point, bool gap);

    std::vector<Point> m_points;
    std::vector<Row> m_rows;
    std::vector<Note> m_notes;
    QLocale m_locale;
    core::TDateTime m_gapThreshold = 0;
};

}  // namespace kr820::graph

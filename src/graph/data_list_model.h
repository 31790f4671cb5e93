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

// The data list: one line per chart point. It keeps the points' values as they were when the
// list was filled and writes a line only when the view asks for it, so that a full logger
// memory (33,000 points) fills at once and scrolls without delay.
class DataListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit DataListModel(QObject* parent = nullptr);

    void SetLocale(const QLocale& locale);

    // Every point of the chart: X of T1, Y of T1 and Y of T2.
    void Fill(const core::ChartData& data);
    void Append(core::TDateTime x, float t1, float t2);
    void Clear();

    // Empty outside the list.
    QString Line(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    struct Point {
        core::TDateTime X;
        float T1;
        float T2;
    };
    std::vector<Point> m_points;
    QLocale m_locale;
};

}  // namespace kr820::graph

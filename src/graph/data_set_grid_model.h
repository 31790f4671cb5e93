// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractTableModel>
#include <QLocale>
#include <QStringList>
#include <vector>

namespace kr820::core {
class TDataSetStore;
}

namespace kr820::graph {

// The DataLogger window's data-set grid: the heading row is the view's header, the rows below
// it are the grid's rows 1 to n. An empty grid still has row 1, with empty cells.
class DataSetGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kDateColumn = 1;

    explicit DataSetGridModel(QObject* parent = nullptr);

    void Fill(const core::TDataSetStore& store, const QLocale& locale);
    void Clear();

    QString Cell(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<QStringList> m_rows;
};

}  // namespace kr820::graph

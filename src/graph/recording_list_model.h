// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractListModel>
#include <QLocale>
#include <memory>

namespace kr820::store {
class StoredRecording;
}

namespace kr820::graph {

// The data list of a recording in its store: one line per reading, written only when the view
// asks for it (a view of uniform rows asks for the lines on screen), so that a recording of any
// length lists at once and memory does not grow with it. Row i is reading i.
class RecordingListModel : public QAbstractListModel {
    Q_OBJECT

public:
    RecordingListModel(std::shared_ptr<store::StoredRecording> recording, const QLocale& locale,
                       QObject* parent = nullptr);

    // Empty outside the list or where the reading does not read.
    QString Line(int row) const;
    // Rows for the readings the recording gained since.
    void FollowRecording();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<store::StoredRecording> m_recording;
    QLocale m_locale;
    int m_rows = 0;
};

}  // namespace kr820::graph

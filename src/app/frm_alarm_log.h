// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QTableWidget;

namespace kr820::app {

// "Alarm Log": the log kept in the program folder, newest last; refreshed as alarms come.
class TfrmAlarmLog : public QDialog {
    Q_OBJECT

public:
    TfrmAlarmLog(QString path, QWidget* parent = nullptr);
    void Reload();
    QTableWidget* Table() const { return m_table; }

private:
    QString m_path;
    QTableWidget* m_table;
};

}  // namespace kr820::app

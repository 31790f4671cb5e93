// SPDX-License-Identifier: MIT
#include "app/frm_alarm_log.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/alarms/alarm_log.h"

namespace kr820::app {

TfrmAlarmLog::TfrmAlarmLog(QString path, QWidget* parent)
    : QDialog(parent), m_path(std::move(path)) {
    setObjectName("frmAlarmLog");
    setWindowTitle(tr("Alarm Log"));
    m_table = new QTableWidget(this);
    m_table->setObjectName("AlarmLogTable");
    m_table->setColumnCount(6);
    m_table->setHorizontalHeaderLabels(
        {tr("Time"), tr("Event"), tr("Alarm"), tr("Value"), tr("Limit"), tr("Unit")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(640, 320);
    Reload();
}

void TfrmAlarmLog::Reload() {
    const std::vector<core::AlarmLogEntry> entries = core::ReadAlarmLog(m_path);
    m_table->setRowCount(static_cast<int>(entries.size()));
    for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
        const core::AlarmLogEntry& entry = entries[static_cast<size_t>(row)];
        const QStringList cells = {entry.Time,  entry.Change, entry.Alarm,
                                   entry.Value, entry.Limit,  entry.Unit};
        for (int column = 0; column < cells.size(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_table->resizeColumnsToContents();
    m_table->scrollToBottom();
}

}  // namespace kr820::app

// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QPushButton;

namespace kr820::print {

// "Print Option": print a graph window's chart or its point list. Each button closes the
// dialog with its own result; closing it otherwise counts as Cancel.
class TfrmPrintOption : public QDialog {
    Q_OBJECT

public:
    enum Result { Cancel = 2, PrintGraph = 6, PrintText = 7 };

    explicit TfrmPrintOption(QWidget* owner = nullptr);

private:
    QPushButton* m_btnPrintGraph;
    QPushButton* m_btnPrintText;
    QPushButton* m_btnCancel;
};

}  // namespace kr820::print

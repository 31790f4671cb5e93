// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace kr820::ui {

// The small range-and-progress window: the range choice before writing a text file or printing
// a list, and the progress of a download, a text file being written or read. Every control
// starts hidden; each use shows the ones it needs.
class TfrmScope : public QDialog {
    Q_OBJECT

public:
    explicit TfrmScope(QWidget* owner = nullptr);

    // The range choice: "&All" or "&Select" with "&from" and "&to", OK and Cancel.
    void ShowRangeChoice(int pointCount);
    // A progress bar over `total` steps with a static text and, when asked, a Cancel button.
    void ShowProgress(int total, const QString& text, bool withCancel);
    // The download's counters: "bytes received" and "total bytes".
    void ShowTransferCounters(int totalBytes);
    void SetBytesReceived(int bytes);

    bool CancelPressed() const { return m_cancelPressed; }

    QGroupBox* GroupBox1;
    QRadioButton* radAll;
    QRadioButton* radNo;
    QLineEdit* edtSelFrom;
    QLineEdit* edtSelTo;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QProgressBar* Progress1;
    QLabel* SText1;
    QLabel* SText2;
    QLabel* lblBytesReceived;
    QLabel* lblTotalBytes;

private:
    bool m_cancelPressed = false;
};

}  // namespace kr820::ui

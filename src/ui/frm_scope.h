// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace kr820::ui {

// What the range choice returns: every point, or the texts typed into "from" and "to" (checked
// by whoever uses them).
struct PointRangeChoice {
    bool All = true;
    QString From;
    QString To;
};

// The small range-and-progress window: the range choice before writing a text file or printing
// a list, and the progress of a download, a text file being written or read. Every control
// starts hidden; each use shows the ones it needs.
class TfrmScope : public QDialog {
    Q_OBJECT

public:
    explicit TfrmScope(QWidget* owner = nullptr);

    // The range choice: "&All" or "&Select" with "&from" and "&to", OK and Cancel.
    void ShowRangeChoice(int pointCount);
    PointRangeChoice RangeChoice() const;

    // A progress bar over `total` steps with a static text and, when asked, a Cancel button.
    void ShowProgress(int total, const QString& text, bool withCancel);
    void SetProgress(int done);
    // A running count in place of a bar (lines read so far), with Cancel.
    void ShowCount(const QString& count);
    // The download's counters: "bytes received" and "total bytes".
    void ShowTransferCounters(int totalBytes);
    void SetBytesReceived(int bytes);

    bool CancelPressed() const { return m_cancelPressed; }

private:
    QGroupBox* m_rangeGroup;
    QRadioButton* m_radAll;
    QRadioButton* m_radNo;
    QLineEdit* m_edtSelFrom;
    QLineEdit* m_edtSelTo;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
    QProgressBar* m_progressBar;
    QLabel* m_progressText;  // the progress text, or the caption of the bytes received
    QLabel* m_totalCaption;
    QLabel* m_lblBytesReceived;
    QLabel* m_lblTotalBytes;
    bool m_cancelPressed = false;
};

}  // namespace kr820::ui

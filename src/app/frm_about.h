// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kr820::app {

// The About box. At start-up the same box, without its OK button, is the splash that shows what
// the program is doing.
class TfrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget* owner = nullptr);

    // Shows the box modelessly without its OK button and paints it at once.
    static TfrmAbout* ShowSplash();

    void SetStatus(const QString& text);
    QString Status() const;

signals:
    void statusChanged(const QString& text);

private:
    QLabel* m_lblStatus;
    QPushButton* m_btnOK;
};

}  // namespace kr820::app

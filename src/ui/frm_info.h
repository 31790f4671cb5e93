// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;

namespace kr820::ui {

// The please-wait window shown during long exchanges with the meter. It has no buttons: the
// exchange that shows it also closes it.
class TfrmInfo : public QDialog {
    Q_OBJECT

public:
    explicit TfrmInfo(QWidget* owner = nullptr);

    QLabel* lblInfo() const { return m_lblInfo; }
    // Shows `text` at once: the exchange that follows runs no events until it ends.
    void ShowText(const QString& text);

private:
    QLabel* m_lblInfo;
};

}  // namespace kr820::ui

// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;

namespace kr820::app {

// The please-wait window shown during long exchanges with the meter. It has no buttons: the
// exchange that shows it also closes it.
class TfrmInfo : public QDialog {
    Q_OBJECT

public:
    explicit TfrmInfo(QWidget* owner = nullptr);

    QLabel* lblInfo() const { return m_lblInfo; }

private:
    QLabel* m_lblInfo;
};

}  // namespace kr820::app

// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kr820::meter {

// The download's error dialog: "Fixed the error " (shown only for a damaged record),
// "Try Again" and "Cancel".
class TfrmErr : public QDialog {
    Q_OBJECT

public:
    enum Result { FixError = 1, Retry = 4, Cancel = 2 };

    explicit TfrmErr(QWidget* owner = nullptr);

    QLabel* Label1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
};

}  // namespace kr820::meter

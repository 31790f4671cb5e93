// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kr820::meter {

// The download's error dialog: "Fixed the error " (offered only for a damaged record),
// "Try Again" and "Cancel". The result of exec() is the button pressed.
class TfrmErr : public QDialog {
    Q_OBJECT

public:
    enum Result { FixError = 1, Retry = 4, Cancel = 2 };

    explicit TfrmErr(QWidget* owner = nullptr);

    void ShowError(const QString& message, bool offerFix);
    QString Message() const;
    bool OffersFix() const;

private:
    QLabel* m_message;
    QPushButton* m_btnFixError;
    QPushButton* m_btnTryAgain;
    QPushButton* m_btnCancel;
};

}  // namespace kr820::meter

// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace kr820::meter {

// What the user chose: the rate's index in the rate list and the number as typed.
struct RealTimeSetupChoice {
    int RateIndex = 0;
    QString Points;
};

// "Real-Time Setup": how many points to record and how often, with the period that makes.
class TfrmSetupRealTime : public QDialog {
    Q_OBJECT

public:
    // `rateIndex` is the graph's present sampling rate; the period starts without leading zeros.
    TfrmSetupRealTime(int rateIndex, QWidget* owner = nullptr);

    // The period of the entered number at the chosen rate, hours:mm:ss.
    void edtRealTimeNoChange();

    RealTimeSetupChoice Choice() const;

private:
    QLineEdit* m_edtRealTimeNo;
    QComboBox* m_txtRate;
    QLineEdit* m_edtPeriod;
    QPushButton* m_btnStart;
    QPushButton* m_btnCancel;
};

}  // namespace kr820::meter

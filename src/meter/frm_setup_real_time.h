// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace kr820::meter {

// "Real-Time Setup": how many points to record and how often, with the period that makes.
class TfrmSetupRealTime : public QDialog {
    Q_OBJECT

public:
    // `rateIndex` is the graph's present sampling rate; the period starts without leading zeros.
    TfrmSetupRealTime(int rateIndex, QWidget* owner = nullptr);

    // The period of the entered number at the chosen rate, hours:mm:ss.
    void edtRealTimeNoChange();

    QLineEdit* edtRealTimeNo;
    QComboBox* txtRate;
    QLineEdit* edtPeriod;
    QPushButton* btnOpenSingleSet;
    QPushButton* Button1;
};

}  // namespace kr820::meter

// SPDX-License-Identifier: MIT
#include "meter/frm_setup_real_time.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/realtime/real_time_rates.h"

namespace kr820::meter {
namespace {

constexpr int kDefaultPoints = 2000;

}  // namespace

TfrmSetupRealTime::TfrmSetupRealTime(int rateIndex, QWidget* owner) : QDialog(owner) {
    setObjectName("frmSetupRealTime");
    setWindowTitle("Real-Time Setup");
    setModal(true);

    edtRealTimeNo = new QLineEdit(this);
    edtRealTimeNo->setObjectName("edtRealTimeNo");
    edtRealTimeNo->setInputMask("00000;_");  // up to five digits
    edtRealTimeNo->setText(" 2000");
    txtRate = new QComboBox(this);
    txtRate->setObjectName("txtRate");
    for (const core::RealTimeRateChoice& rate : core::kRealTimeRates)
        txtRate->addItem(rate.caption);
    txtRate->setCurrentIndex(rateIndex);
    edtPeriod = new QLineEdit(this);
    edtPeriod->setObjectName("edtPeriod");
    edtPeriod->setReadOnly(true);
    const int seconds =
        core::kRealTimeRates[static_cast<size_t>(
                                 std::clamp(rateIndex, 0, int(core::kRealTimeRates.size()) - 1))]
            .seconds;
    edtPeriod->setText(core::PeriodText(static_cast<long long>(seconds) * kDefaultPoints, false));

    btnOpenSingleSet = new QPushButton("Start", this);
    btnOpenSingleSet->setObjectName("btnOpenSingleSet");
    btnOpenSingleSet->setDefault(true);
    Button1 = new QPushButton("Cancel", this);
    Button1->setObjectName("Button1");
    connect(btnOpenSingleSet, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    connect(edtRealTimeNo, &QLineEdit::textEdited, this, [this] { edtRealTimeNoChange(); });
    connect(txtRate, &QComboBox::activated, this, [this] { edtRealTimeNoChange(); });

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Real-Time data no to be recorded", this), 0, 0);
    grid->addWidget(edtRealTimeNo, 0, 1);
    grid->addWidget(new QLabel("(Adjust the number to meet your need)", this), 1, 0, 1, 2);
    grid->addWidget(new QLabel("Real -Time Sampling Rate", this), 2, 0);
    grid->addWidget(txtRate, 2, 1);
    grid->addWidget(new QLabel("Recording Period", this), 3, 0);
    auto* period = new QHBoxLayout;
    period->addWidget(edtPeriod);
    period->addWidget(new QLabel("HH:MM:SS", this));
    grid->addLayout(period, 3, 1);
    grid->addWidget(new QLabel("second", this), 2, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOpenSingleSet);
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmSetupRealTime::edtRealTimeNoChange() {
    bool ok = false;
    const long long points = edtRealTimeNo->text().trimmed().toLongLong(&ok);
    const int index = std::max(0, txtRate->currentIndex());
    const long long seconds =
        core::kRealTimeRates[static_cast<size_t>(index)].seconds * (ok ? points : 0);
    edtPeriod->setText(core::PeriodText(seconds, true));
}

}  // namespace kr820::meter

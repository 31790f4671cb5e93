// SPDX-License-Identifier: MIT
#include "meter/frm_setup_real_time.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "core/realtime/real_time_rates.h"
#include "meter/recording_folder.h"
#include "ui/fit_on_screen.h"
#include "ui/prompter.h"
#include "ui/whole_caption.h"

namespace kr820::meter {
namespace {

constexpr int kDefaultPoints = 2000;

}  // namespace

std::optional<int> RealTimePoints(const QString& typed) {
    bool ok = false;
    const int points = typed.trimmed().toInt(&ok);
    if (!ok || points <= 0) return std::nullopt;
    return points;
}

TfrmSetupRealTime::TfrmSetupRealTime(int rateIndex, QWidget* owner, ui::Prompter* prompter,
                                     const QString& folder)
    : QDialog(owner), m_prompter(prompter), m_defaultFolder(folder) {
    setObjectName("frmSetupRealTime");
    setWindowTitle("Real-Time Setup");
    setModal(true);

    m_edtRealTimeNo = new QLineEdit(this);
    m_edtRealTimeNo->setObjectName("edtRealTimeNo");
    // Up to five digits, shown as typed (" 2000"): an input mask would show its placeholders.
    m_edtRealTimeNo->setMaxLength(5);
    m_edtRealTimeNo->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral(" *[0-9]{0,5}")), m_edtRealTimeNo));
    m_edtRealTimeNo->setText(" 2000");
    m_txtRate = new QComboBox(this);
    m_txtRate->setObjectName("txtRate");
    for (const core::RealTimeRateChoice& rate : core::kRealTimeRates)
        m_txtRate->addItem(rate.caption);
    m_txtRate->setCurrentIndex(rateIndex);
    m_edtPeriod = new QLineEdit(this);
    m_edtPeriod->setObjectName("edtPeriod");
    m_edtPeriod->setReadOnly(true);
    const int seconds =
        core::kRealTimeRates[static_cast<size_t>(
                                 std::clamp(rateIndex, 0, int(core::kRealTimeRates.size()) - 1))]
            .seconds;
    m_edtPeriod->setText(core::PeriodText(static_cast<long long>(seconds) * kDefaultPoints));

    m_chkUntilStopped = new QCheckBox("&until stopped", this);
    m_chkUntilStopped->setObjectName("chkUntilStopped");
    m_edtStoreFolder = new QLineEdit(folder, this);
    m_edtStoreFolder->setObjectName("edtStoreFolder");
    m_edtStoreFolder->setEnabled(false);
    m_btnBrowseFolder = new QPushButton("&Browse...", this);
    m_btnBrowseFolder->setObjectName("btnBrowseFolder");
    m_btnBrowseFolder->setAccessibleName("Browse for the recording folder");
    m_btnBrowseFolder->setEnabled(false);
    connect(m_btnBrowseFolder, &QPushButton::clicked, this, [this] { BrowseFolder(); });
    connect(m_chkUntilStopped, &QCheckBox::toggled, this, [this] { chkUntilStoppedClick(); });

    m_btnStart = new QPushButton("Start", this);
    m_btnStart->setObjectName("btnStart");
    m_btnStart->setDefault(true);
    m_btnCancel = new QPushButton("Cancel", this);
    m_btnCancel->setObjectName("btnCancel");
    connect(m_btnStart, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_edtRealTimeNo, &QLineEdit::textEdited, this, [this] { edtRealTimeNoChange(); });
    connect(m_txtRate, &QComboBox::activated, this, [this] { edtRealTimeNoChange(); });

    auto* grid = new QGridLayout;
    // The labels name their fields, for a screen reader as for the eye.
    const auto labelFor = [this](const char* text, QWidget* field) {
        auto* label = new QLabel(text, this);
        label->setBuddy(field);
        return label;
    };
    grid->addWidget(labelFor("Real-Time data no to be recorded", m_edtRealTimeNo), 0, 0);
    grid->addWidget(m_edtRealTimeNo, 0, 1);
    grid->addWidget(m_chkUntilStopped, 0, 2);
    grid->addWidget(new QLabel("(Adjust the number to meet your need)", this), 1, 0, 1, 2);
    grid->addWidget(labelFor("Real -Time Sampling Rate", m_txtRate), 2, 0);
    grid->addWidget(m_txtRate, 2, 1);
    grid->addWidget(labelFor("Recording Period", m_edtPeriod), 3, 0);
    auto* period = new QHBoxLayout;
    period->addWidget(m_edtPeriod);
    period->addWidget(new QLabel("HH:MM:SS", this));
    grid->addLayout(period, 3, 1);
    // The rates read minutes and seconds ("00:02" is two seconds).
    grid->addWidget(new QLabel("MM:SS", this), 2, 2);
    grid->addWidget(labelFor("Recording &folder", m_edtStoreFolder), 4, 0);
    grid->addWidget(m_edtStoreFolder, 4, 1);
    grid->addWidget(m_btnBrowseFolder, 4, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnStart);
    buttons->addWidget(m_btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ui::ScrollWhenLargerThanScreen(*this);
    ui::KeepCaptionWhole(*this);
}

void TfrmSetupRealTime::edtRealTimeNoChange() {
    bool ok = false;
    const long long points = m_edtRealTimeNo->text().trimmed().toLongLong(&ok);
    const int index = std::max(0, m_txtRate->currentIndex());
    const long long seconds =
        core::kRealTimeRates[static_cast<size_t>(index)].seconds * (ok ? points : 0);
    m_edtPeriod->setText(core::PeriodText(seconds));
}

void TfrmSetupRealTime::chkUntilStoppedClick() {
    const bool untilStopped = m_chkUntilStopped->isChecked();
    m_edtRealTimeNo->setEnabled(!untilStopped);
    m_edtStoreFolder->setEnabled(untilStopped);
    m_btnBrowseFolder->setEnabled(untilStopped);
    if (untilStopped) {
        m_edtPeriod->clear();
    } else {
        edtRealTimeNoChange();
    }
}

void TfrmSetupRealTime::BrowseFolder() {
    const QString chosen =
        m_prompter ? m_prompter->FolderName(this, m_edtStoreFolder->text()) : QString();
    if (!chosen.isEmpty()) m_edtStoreFolder->setText(QDir::toNativeSeparators(chosen));
}

void TfrmSetupRealTime::accept() {
    if (m_prompter && !m_chkUntilStopped->isChecked() && !RealTimePoints(m_edtRealTimeNo->text())) {
        m_prompter->Message(this, m_edtRealTimeNo->text().trimmed() + kNotValidSuffix);
        m_edtRealTimeNo->setFocus(Qt::OtherFocusReason);
        m_edtRealTimeNo->selectAll();
        return;
    }
    if (m_prompter && m_chkUntilStopped->isChecked() && !RecordingFolderAccepted()) {
        m_edtStoreFolder->setFocus(Qt::OtherFocusReason);
        return;
    }
    QDialog::accept();
}

bool TfrmSetupRealTime::RecordingFolderAccepted() {
    const QString folder = Choice().Folder;
    if (!QFileInfo::exists(folder)) {
        // Made only when the user says so: a typing slip must not leave folders about.
        if (m_prompter->Confirm(this, kCreateFolderQuestion.arg(folder),
                                ui::Prompter::Buttons::YesNo) != ui::Prompter::Answer::Yes)
            return false;
        QString reason;
        if (!MakeRecordingFolder(folder, &reason)) {
            m_prompter->Message(this, kFolderNotMadeMessage.arg(folder, reason));
            return false;
        }
    }
    const QString problem = RecordingFolderProblem(folder);
    if (problem.isEmpty()) return true;
    m_prompter->Message(this, problem);
    return false;
}

RealTimeSetupChoice TfrmSetupRealTime::Choice() const {
    const QString typed = m_edtStoreFolder->text().trimmed();
    return {std::max(0, m_txtRate->currentIndex()), m_edtRealTimeNo->text(),
            m_chkUntilStopped->isChecked(),
            AbsoluteRecordingFolder(typed.isEmpty() ? m_defaultFolder : typed)};
}

}  // namespace kr820::meter

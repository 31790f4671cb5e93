// SPDX-License-Identifier: MIT
#include "meter/frm_setup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "core/setup/setup_lists.h"
#include "core/setup/setup_texts.h"
#include "ui/fit_on_screen.h"

namespace kr820::meter {
namespace {

constexpr int kChangeLinesShown = 5;  // more scroll

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

template <size_t N>
QComboBox* ListBox(QWidget* parent, const char* name,
                   const std::array<std::string_view, N>& items) {
    auto* box = Named(new QComboBox(parent), name);
    for (std::string_view item : items)
        box->addItem(QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size())));
    return box;
}

// A list whose text may differ from its items ("  GRAPH" before anything is read).
QComboBox* TextListBox(QComboBox* box, const QString& text, const QString& spoken) {
    box->setEditable(true);
    box->setAccessibleName(spoken);
    box->lineEdit()->setAccessibleName(spoken);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setEditText(text);
    return box;
}

// A label that names the control beside it, for a screen reader as for the eye.
QLabel* LabelFor(const QString& text, QWidget* control, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(control);
    return label;
}

QDateEdit* DatePicker(QWidget* parent, const char* name, const QString& spoken) {
    auto* picker = Named(new QDateEdit(QDate::currentDate(), parent), name);
    picker->setAccessibleName(spoken + QStringLiteral(" date"));
    picker->setCalendarPopup(true);
    // The meter keeps two digits of the year: no other date can be picked.
    picker->setDateRange(QDate(core::kFirstMeterYear, 1, 1), QDate(core::kLastMeterYear, 12, 31));
    return picker;
}

QTimeEdit* TimePicker(QWidget* parent, const char* name, const QString& spoken) {
    auto* picker = Named(new QTimeEdit(QTime::currentTime(), parent), name);
    picker->setAccessibleName(spoken + QStringLiteral(" time"));
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return picker;
}

QDateTime Joined(const QDateEdit* date, const QTimeEdit* time) {
    return QDateTime(date->date(), time->time());
}

void Show(QDateEdit* date, QTimeEdit* time, const QDateTime& value) {
    date->setDate(value.date());
    time->setTime(value.time());
}

}  // namespace

TfrmSetup::TfrmSetup(QWidget* owner, const QLocale& locale, link::Clock& clock)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      m_locale(locale),
      m_pickedClock(clock) {
    setObjectName("frmSetup");
    setWindowTitle("Setup");
    setModal(true);

    auto* grid = new QGridLayout;
    BuildPrintGroup(*grid);
    BuildOtherGroups(*grid);

    m_lblChanges = Named(new QLabel(this), "lblChanges");
    m_lblChanges->setWordWrap(true);
    m_lblChanges->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblChanges->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The list scrolls in a place of its own, so that the buttons under it never move.
    auto* changes = Named(new QScrollArea(this), "scrChanges");
    changes->setWidget(m_lblChanges);
    changes->setWidgetResizable(true);
    changes->setFrameShape(QFrame::NoFrame);
    changes->setFixedHeight(m_lblChanges->fontMetrics().lineSpacing() * kChangeLinesShown + 4);
    changes->setFocusPolicy(Qt::NoFocus);
    m_lblClockOffset = Named(new QLabel(this), "lblClockOffset");
    m_btnSave = Named(new QPushButton("&SAVE", this), "btnSave");
    m_btnExit = Named(new QPushButton("E&xit Without Saving", this), "btnExit");
    connect(m_btnSave, &QPushButton::clicked, this, [this] {
        if (m_onSave) m_onSave();
    });
    connect(m_btnExit, &QPushButton::clicked, this, &QDialog::reject);
    // Return in a field must not press a button, least of all ERASE.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnSave);
    buttons->addWidget(m_btnExit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_lblClockOffset);
    layout->addWidget(changes);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ui::ScrollWhenLargerThanScreen(*this);

    // Every edit updates the list of changes.
    for (QComboBox* box : findChildren<QComboBox*>())
        connect(box, &QComboBox::currentTextChanged, this, [this] { UpdateChanges(); });
    for (QLineEdit* edit : {m_edtLowLimit, m_edtAlarmUpper, m_edtAlarmLower})
        connect(edit, &QLineEdit::textChanged, this, [this] { UpdateChanges(); });
    for (QDateTimeEdit* picker : findChildren<QDateTimeEdit*>())
        connect(picker, &QDateTimeEdit::dateTimeChanged, this, [this] { UpdateChanges(); });
    for (QRadioButton* radio : {m_radioK, m_radioJ})
        connect(radio, &QRadioButton::toggled, this, [this] { UpdateChanges(); });
}

void TfrmSetup::BuildPrintGroup(QGridLayout& grid) {
    // The groups' mnemonics take the cursor to their first field.
    auto* print = Named(new QGroupBox("&Print Setup", this), "grpPrint");
    m_printStartDate = DatePicker(print, "PrintStartDate", "Print Start Time");
    m_printStartTime = TimePicker(print, "PrintStartTime", "Print Start Time");
    m_printStopDate = DatePicker(print, "PrintStopDate", "Print Stop Time");
    m_printStopTime = TimePicker(print, "PrintStopTime", "Print Stop Time");
    m_cmbPrintMode = TextListBox(ListBox(print, "cmbPrintMode", core::kPrintModes), "  GRAPH",
                                 QStringLiteral("Print Mode"));
    m_lblGraphCMHR = Named(new QLabel("Graph INCH/HOUR:", print), "lblGraphCMHR");
    m_cmbGraphINCH = ListBox(print, "cmbGraphINCH", core::kGraphInchesPerHour);
    m_lblLowLimit = Named(new QLabel("Low Limit:", print), "lblLowLimit");
    m_edtLowLimit = Named(new QLineEdit("0", print), "edtLowLimit");
    m_upDownLowLimit = Named(new QSpinBox(print), "UpDownLowLimit");
    m_upDownLowLimit->setRange(core::kLowestLowLimit, core::kHighestLowLimit);
    m_upDownLowLimit->setSingleStep(10);
    m_upDownLowLimit->setValue(0);
    // Only the arrows show: they step the number in the box beside them.
    m_upDownLowLimit->setButtonSymbols(QSpinBox::UpDownArrows);
    if (auto* text = m_upDownLowLimit->findChild<QLineEdit*>()) text->hide();
    m_upDownLowLimit->setFixedWidth(22);
    m_upDownLowLimit->setAccessibleName(QStringLiteral("Low Limit steps of 10"));
    connect(m_upDownLowLimit, &QSpinBox::valueChanged, this,
            [this](int value) { m_edtLowLimit->setText(QString::number(value)); });
    m_lblScaleWidth = Named(new QLabel("Scale Width:", print), "lblScaleWidth");
    m_edtScaleWidth = ListBox(print, "edtScaleWidth", core::kScaleWidths);
    m_edtPrintInterval = ListBox(print, "edtPrintInterval", core::kPrintIntervals);
    m_edtPrintInterval->hide();
    // One label for two lists, only one of them shown: each is named for itself.
    m_edtScaleWidth->setAccessibleName(QStringLiteral("Scale Width"));
    m_edtPrintInterval->setAccessibleName(QStringLiteral("Print Interval"));
    m_lblGraphCMHR->setBuddy(m_cmbGraphINCH);
    m_lblLowLimit->setBuddy(m_edtLowLimit);
    connect(m_cmbPrintMode, &QComboBox::currentTextChanged, this, [this] { cmbPrintModeChange(); });

    auto* layout = new QGridLayout(print);
    layout->addWidget(LabelFor("Start Time", m_printStartDate, print), 0, 0);
    layout->addWidget(m_printStartDate, 0, 1);
    layout->addWidget(m_printStartTime, 0, 2, 1, 2);
    layout->addWidget(LabelFor("Stop Time", m_printStopDate, print), 1, 0);
    layout->addWidget(m_printStopDate, 1, 1);
    layout->addWidget(m_printStopTime, 1, 2, 1, 2);
    layout->addWidget(LabelFor("Print Mode", m_cmbPrintMode, print), 2, 0);
    layout->addWidget(m_cmbPrintMode, 2, 1);
    layout->addWidget(m_lblGraphCMHR, 3, 0);
    layout->addWidget(m_cmbGraphINCH, 3, 1);
    layout->addWidget(m_lblLowLimit, 4, 0);
    layout->addWidget(m_edtLowLimit, 4, 1);
    layout->addWidget(m_upDownLowLimit, 4, 2);
    layout->addWidget(m_lblScaleWidth, 5, 0);
    layout->addWidget(m_edtScaleWidth, 5, 1);
    layout->addWidget(m_edtPrintInterval, 5, 1);
    grid.addWidget(print, 0, 0, 2, 1);
}

void TfrmSetup::BuildOtherGroups(QGridLayout& grid) {
    auto* clock = Named(new QGroupBox("&Clock Setup", this), "grpClock");
    m_rtcDate = DatePicker(clock, "RTCDate", "Meter clock");
    m_rtcTime = TimePicker(clock, "RTCTime", "Meter clock");
    m_chkPCTime = Named(new QCheckBox("PC Time", clock), "chkPCTime");
    m_chkPCTime->setChecked(true);
    auto* clockLayout = new QGridLayout(clock);
    clockLayout->addWidget(LabelFor("Time Setup", m_rtcDate, clock), 0, 0);
    clockLayout->addWidget(m_rtcDate, 0, 1);
    clockLayout->addWidget(m_rtcTime, 0, 2);
    clockLayout->addWidget(m_chkPCTime, 1, 1);
    grid.addWidget(clock, 0, 1);
    m_pickedClock.Set(Joined(m_rtcDate, m_rtcTime));
    // What the user sets runs on from the moment it is set; the part not edited keeps running.
    connect(m_rtcDate, &QDateEdit::dateChanged, this, [this](QDate date) {
        m_pickedClock.Set(QDateTime(date, m_pickedClock.Value().time()));
    });
    connect(m_rtcTime, &QTimeEdit::timeChanged, this,
            [this](QTime time) { m_pickedClock.Set(QDateTime(m_rtcDate->date(), time)); });
    m_clockTicker = new QTimer(this);
    connect(m_clockTicker, &QTimer::timeout, this, [this] { PutClockInPickers(false); });
    m_clockTicker->start(500);

    auto* record = Named(new QGroupBox("&Record Setup", this), "grpRecord");
    m_recStartDate = DatePicker(record, "RECStartDate", "Record Start Time");
    m_recStartTime = TimePicker(record, "RECStartTime", "Record Start Time");
    m_recStopDate = DatePicker(record, "RECStopDate", "Record Stop Time");
    m_recStopTime = TimePicker(record, "RECStopTime", "Record Stop Time");
    m_edtRECInterval = ListBox(record, "edtRECInterval", core::kRecordIntervals);
    auto* recordLayout = new QGridLayout(record);
    recordLayout->addWidget(LabelFor("Start Time", m_recStartDate, record), 0, 0);
    recordLayout->addWidget(m_recStartDate, 0, 1);
    recordLayout->addWidget(m_recStartTime, 0, 2);
    recordLayout->addWidget(LabelFor("Stop Time", m_recStopDate, record), 1, 0);
    recordLayout->addWidget(m_recStopDate, 1, 1);
    recordLayout->addWidget(m_recStopTime, 1, 2);
    recordLayout->addWidget(LabelFor("Record Interval", m_edtRECInterval, record), 2, 0);
    recordLayout->addWidget(m_edtRECInterval, 2, 1);
    grid.addWidget(record, 1, 1);

    auto* memory = Named(new QGroupBox(this), "grpMemory");
    m_memRecords = Named(new QLineEdit("00000", memory), "MemRecords");
    m_memRecords->setReadOnly(true);
    m_memLeft = Named(new QLineEdit("32000", memory), "MemLeft");
    m_memLeft->setReadOnly(true);
    m_memRecords->setAccessibleName(QStringLiteral("Records in memory"));
    m_btnErase = Named(new QPushButton("&ERASE", memory), "btnErase");
    m_btnErase->setAccessibleDescription(QStringLiteral("Erase Memory"));
    connect(m_btnErase, &QPushButton::clicked, this, [this] {
        if (m_onErase) m_onErase();
    });
    auto* memoryLayout = new QGridLayout(memory);
    memoryLayout->addWidget(LabelFor("Erase Memory:", m_memRecords, memory), 0, 0);
    memoryLayout->addWidget(m_memRecords, 0, 1);
    memoryLayout->addWidget(m_btnErase, 0, 2);
    memoryLayout->addWidget(LabelFor("Memory Left:", m_memLeft, memory), 1, 0);
    memoryLayout->addWidget(m_memLeft, 1, 1);
    grid.addWidget(memory, 2, 0);

    auto* power = Named(new QGroupBox("Po&wer Setup:", this), "grpPower");
    m_cmbAPO = ListBox(power, "cmbAPO", core::kPowerChoices);
    m_cmbAPO->setAccessibleName(QStringLiteral("Power Setup"));
    (new QVBoxLayout(power))->addWidget(m_cmbAPO);
    grid.addWidget(power, 2, 1);

    auto* alarm = Named(new QGroupBox("&Alarm Setup", this), "grpAlarm");
    m_lblAlarmUpper = Named(new QLabel("Alarm Upper:", alarm), "lblAlarmUpper");
    m_edtAlarmUpper = Named(new QLineEdit("    2498.0", alarm), "edtAlarmUpper");
    m_lblAlarmLower = Named(new QLabel("Alarm Lower:", alarm), "lblAlarmLower");
    m_edtAlarmLower = Named(new QLineEdit("     -328.0", alarm), "edtAlarmLower");
    m_cmbAlarmSetup = TextListBox(ListBox(alarm, "cmbAlarmSetup", core::kAlarmChoices), "      ON",
                                  QStringLiteral("Alarm"));
    m_lblAlarmUpper->setBuddy(m_edtAlarmUpper);
    m_lblAlarmLower->setBuddy(m_edtAlarmLower);
    connect(m_cmbAlarmSetup, &QComboBox::currentTextChanged, this,
            [this] { cmbAlarmSetupChange(); });
    auto* alarmLayout = new QGridLayout(alarm);
    alarmLayout->addWidget(m_lblAlarmUpper, 0, 0);
    alarmLayout->addWidget(m_edtAlarmUpper, 0, 1);
    alarmLayout->addWidget(m_lblAlarmLower, 1, 0);
    alarmLayout->addWidget(m_edtAlarmLower, 1, 1);
    alarmLayout->addWidget(m_cmbAlarmSetup, 0, 2);
    grid.addWidget(alarm, 3, 0);

    auto* type = Named(new QGroupBox("&TC TYPE", this), "grpType");
    m_radioK = Named(new QRadioButton("K", type), "RadioK");
    m_radioK->setChecked(true);
    m_radioJ = Named(new QRadioButton("J", type), "RadioJ");
    auto* typeLayout = new QHBoxLayout(type);
    typeLayout->addWidget(m_radioK);
    typeLayout->addWidget(m_radioJ);
    grid.addWidget(type, 3, 1);
}

void TfrmSetup::FillSetupDialog(const core::MeterSetup& setup, const QDateTime& now) {
    m_read.reset();  // no list of changes while the controls are being filled
    m_template = setup;
    m_pickedClock.Set(setup.MeterClock);
    PutClockInPickers(true);
    (setup.TypeK ? m_radioK : m_radioJ)->setChecked(true);
    Show(m_printStartDate, m_printStartTime, setup.PrintStart);
    Show(m_printStopDate, m_printStopTime, setup.PrintStop);
    m_cmbPrintMode->setCurrentIndex(setup.GraphPrintMode ? 1 : 0);
    cmbPrintModeChange();
    m_cmbGraphINCH->setCurrentIndex(setup.GraphInchIndex);
    m_edtLowLimit->setText(QString::number(setup.LowLimit));
    m_upDownLowLimit->setValue(setup.LowLimit);
    m_edtLowLimit->setText(QString::number(setup.LowLimit));  // beyond the arrows' range too
    m_edtScaleWidth->setCurrentIndex(setup.ScaleWidthIndex);
    m_edtPrintInterval->setCurrentIndex(setup.PrintIntervalIndex);
    Show(m_recStartDate, m_recStartTime, setup.RecordStart);
    Show(m_recStopDate, m_recStopTime, setup.RecordStop);
    m_edtRECInterval->setCurrentIndex(setup.RecordIntervalIndex);
    m_memRecords->setText(QString::number(setup.MemRecords));
    m_memLeft->setText(QString::number(setup.MemLeft));
    m_cmbAPO->setCurrentIndex(setup.AutoPowerOff ? 0 : 1);
    m_cmbAlarmSetup->setCurrentIndex(setup.AlarmOn ? 0 : 1);
    cmbAlarmSetupChange();
    m_edtAlarmUpper->setText(core::AlarmLimitText(setup.AlarmUpperTenths, m_locale));
    m_edtAlarmLower->setText(core::AlarmLimitText(setup.AlarmLowerTenths, m_locale));
    m_lblClockOffset->setText(core::ClockOffsetText(setup.MeterClock, now));
    m_read = setup;
    UpdateChanges();
}

SetupDialogReading TfrmSetup::ReadSetupDialog() {
    // The user corrects the refused field where it stands.
    const auto refuse = [](QLineEdit* field, const QString& problem) {
        field->setFocus(Qt::OtherFocusReason);
        return SetupDialogReading{std::nullopt, problem};
    };
    const auto lowLimit = core::LowLimitValue(m_edtLowLimit->text());
    if (!lowLimit) return refuse(m_edtLowLimit, core::LowLimitProblem(m_edtLowLimit->text()));
    const auto upper = core::AlarmLimitTenths(m_edtAlarmUpper->text(), m_locale);
    if (!upper) {
        return refuse(m_edtAlarmUpper, core::AlarmLimitProblem(QStringLiteral("Alarm Upper"),
                                                               m_edtAlarmUpper->text(), m_locale));
    }
    const auto lower = core::AlarmLimitTenths(m_edtAlarmLower->text(), m_locale);
    if (!lower) {
        return refuse(m_edtAlarmLower, core::AlarmLimitProblem(QStringLiteral("Alarm Lower"),
                                                               m_edtAlarmLower->text(), m_locale));
    }
    m_upDownLowLimit->setValue(*lowLimit);
    m_edtLowLimit->setText(QString::number(*lowLimit));

    core::MeterSetup setup = m_template;
    setup.TypeK = m_radioK->isChecked();
    setup.PrintStart = Joined(m_printStartDate, m_printStartTime);
    setup.PrintStop = Joined(m_printStopDate, m_printStopTime);
    setup.GraphPrintMode = m_cmbPrintMode->currentIndex() == 1;
    setup.GraphInchIndex = std::max(0, m_cmbGraphINCH->currentIndex());
    setup.LowLimit = *lowLimit;
    setup.ScaleWidthIndex = std::max(0, m_edtScaleWidth->currentIndex());
    setup.PrintIntervalIndex = std::max(0, m_edtPrintInterval->currentIndex());
    setup.RecordStart = Joined(m_recStartDate, m_recStartTime);
    setup.RecordStop = Joined(m_recStopDate, m_recStopTime);
    setup.RecordIntervalIndex = std::max(0, m_edtRECInterval->currentIndex());
    setup.AutoPowerOff = m_cmbAPO->currentIndex() != 1;
    setup.AlarmOn = m_cmbAlarmSetup->currentIndex() != 1;
    setup.AlarmUpperTenths = *upper;
    setup.AlarmLowerTenths = *lower;
    return {setup, {}};
}

void TfrmSetup::cmbPrintModeChange() {
    const bool graph = m_cmbPrintMode->currentText().trimmed() == QStringLiteral("GRAPH");
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_lblGraphCMHR, m_lblLowLimit, m_cmbGraphINCH,
                                         m_edtLowLimit, m_upDownLowLimit, m_edtScaleWidth})
        control->setVisible(graph);
    m_lblScaleWidth->show();
    m_lblScaleWidth->setText(graph ? QStringLiteral("Scale Width")
                                   : QStringLiteral("Print Interval"));
    m_edtPrintInterval->setVisible(!graph);
}

void TfrmSetup::cmbAlarmSetupChange() {
    const bool on = m_cmbAlarmSetup->currentText().trimmed() == QStringLiteral("ON");
    for (QWidget* control : std::initializer_list<QWidget*>{m_lblAlarmUpper, m_lblAlarmLower,
                                                            m_edtAlarmUpper, m_edtAlarmLower})
        control->setVisible(on);
}

bool TfrmSetup::PcTimeTicked() const { return m_chkPCTime->isChecked(); }

void TfrmSetup::ShowClock(const QDateTime& value) {
    m_pickedClock.Set(value);
    PutClockInPickers(true);
}

QDateTime TfrmSetup::ClockValue() const { return m_pickedClock.Value(); }

void TfrmSetup::PutClockInPickers(bool evenWhileEdited) {
    const QDateTime value = m_pickedClock.Value();
    // Not an edit of the user's: the clock keeps its moment.
    const QSignalBlocker quietDate(m_rtcDate);
    const QSignalBlocker quietTime(m_rtcTime);
    // Ticking under the user's cursor would undo what is being typed.
    if (evenWhileEdited || !m_rtcDate->hasFocus()) m_rtcDate->setDate(value.date());
    if (evenWhileEdited || !m_rtcTime->hasFocus()) m_rtcTime->setTime(value.time());
}

void TfrmSetup::ShowWritten(const core::MeterSetup& written, int count) {
    if (!m_read) return;
    m_read = core::SetupAfterWrites(*m_read, written, count, QDateTime::currentDateTime());
    UpdateChanges();
}

void TfrmSetup::ShowMeterClock(const QDateTime& meterClock, const QDateTime& computerClock) {
    m_lblClockOffset->setText(core::ClockOffsetText(meterClock, computerClock));
}

void TfrmSetup::ShowMemoryCleared() {
    m_memRecords->setText("0");
    m_memLeft->setText("32000");
}

QString TfrmSetup::ChangesText() const { return m_lblChanges->text(); }

QString TfrmSetup::ClockOffset() const { return m_lblClockOffset->text(); }

void TfrmSetup::UpdateChanges() {
    if (!m_read) return;
    core::MeterSetup edited = *m_read;
    // Fields whose text is not a number yet change nothing here; the save tells about them.
    const QSignalBlocker quiet(m_edtLowLimit);
    if (const auto low = core::LowLimitValue(m_edtLowLimit->text())) edited.LowLimit = *low;
    if (const auto up = core::AlarmLimitTenths(m_edtAlarmUpper->text(), m_locale))
        edited.AlarmUpperTenths = *up;
    if (const auto down = core::AlarmLimitTenths(m_edtAlarmLower->text(), m_locale))
        edited.AlarmLowerTenths = *down;
    edited.TypeK = m_radioK->isChecked();
    edited.PrintStart = Joined(m_printStartDate, m_printStartTime);
    edited.PrintStop = Joined(m_printStopDate, m_printStopTime);
    edited.GraphPrintMode = m_cmbPrintMode->currentIndex() == 1;
    edited.GraphInchIndex = m_cmbGraphINCH->currentIndex();
    edited.ScaleWidthIndex = m_edtScaleWidth->currentIndex();
    edited.PrintIntervalIndex = m_edtPrintInterval->currentIndex();
    edited.RecordStart = Joined(m_recStartDate, m_recStartTime);
    edited.RecordStop = Joined(m_recStopDate, m_recStopTime);
    edited.RecordIntervalIndex = m_edtRECInterval->currentIndex();
    edited.AutoPowerOff = m_cmbAPO->currentIndex() != 1;
    edited.AlarmOn = m_cmbAlarmSetup->currentIndex() != 1;
    const QStringList changes = core::SetupChanges(*m_read, edited, m_locale);
    m_lblChanges->setText(
        changes.isEmpty() ? QString() : QStringLiteral("Changes to save:\n") + changes.join(u'\n'));
}

}  // namespace kr820::meter

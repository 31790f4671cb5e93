// SPDX-License-Identifier: MIT
#include "print/report_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "ui/fit_on_screen.h"
#include "ui/prompter.h"

namespace kr820::print {
namespace {

const QString kGroup = QStringLiteral("Report");

QDoubleSpinBox* Degrees(QWidget* parent, double value, const QString& unit) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(-500.0, 3000.0);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" ") + unit);
    box->setValue(value);
    return box;
}

}  // namespace

core::ReportSettings ReportChoice::Settings() const {
    core::ReportSettings settings;
    settings.Limits = Limits;
    settings.ActivationEnergyKjPerMol = ActivationEnergyKjPerMol;
    switch (Lethality) {
        case ReportLethality::Off:
            break;
        case ReportLethality::F0:
            settings.Lethality = core::kF0Lethality;
            break;
        case ReportLethality::PasteurizationUnits:
            settings.Lethality = core::kPasteurizationUnits;
            break;
        case ReportLethality::Own:
            settings.Lethality = Own;
            break;
    }
    return settings;
}

ReportChoice ReadReportChoice(QSettings& settings) {
    ReportChoice choice;
    settings.beginGroup(kGroup);
    choice.ZoomOnly = settings.value(QStringLiteral("ZoomOnly"), false).toBool();
    bool ok = false;
    const double energy = settings.value(QStringLiteral("ActivationEnergy")).toDouble(&ok);
    if (ok && energy > 0 && energy <= 1000) choice.ActivationEnergyKjPerMol = energy;
    const int lethality = settings.value(QStringLiteral("Lethality"), 0).toInt();
    if (lethality >= 0 && lethality <= static_cast<int>(ReportLethality::Own))
        choice.Lethality = static_cast<ReportLethality>(lethality);
    const double reference = settings.value(QStringLiteral("Tref")).toDouble(&ok);
    if (ok) choice.Own.ReferenceCelsius = reference;
    const double z = settings.value(QStringLiteral("Z")).toDouble(&ok);
    if (ok && z > 0) choice.Own.ZCelsius = z;
    choice.Heading = settings.value(QStringLiteral("Heading")).toString();
    choice.Print = settings.value(QStringLiteral("Print"), false).toBool();
    settings.endGroup();
    return choice;
}

void WriteReportChoice(QSettings& settings, const ReportChoice& choice) {
    settings.beginGroup(kGroup);
    settings.setValue(QStringLiteral("ZoomOnly"), choice.ZoomOnly);
    settings.setValue(QStringLiteral("ActivationEnergy"), choice.ActivationEnergyKjPerMol);
    settings.setValue(QStringLiteral("Lethality"), static_cast<int>(choice.Lethality));
    settings.setValue(QStringLiteral("Tref"), choice.Own.ReferenceCelsius);
    settings.setValue(QStringLiteral("Z"), choice.Own.ZCelsius);
    settings.setValue(QStringLiteral("Heading"), choice.Heading);
    settings.setValue(QStringLiteral("Print"), choice.Print);
    settings.endGroup();
}

ReportDialog::ReportDialog(QWidget* parent, const ReportChoice& preset, bool zoomed,
                           const QString& unit)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("Report"));
    auto* form = new QFormLayout;

    m_range = new QComboBox(this);
    m_range->setObjectName(QStringLiteral("cbReportRange"));
    m_range->addItems({QStringLiteral("All readings"), QStringLiteral("The part shown (zoom)")});
    m_range->setCurrentIndex(preset.ZoomOnly && zoomed ? 1 : 0);
    m_range->setEnabled(zoomed);
    form->addRow(QStringLiteral("&Range:"), m_range);

    const std::array<QString, 4> names{
        QStringLiteral("T1 &high limit:"), QStringLiteral("T1 &low limit:"),
        QStringLiteral("T2 hi&gh limit:"), QStringLiteral("T2 lo&w limit:")};
    for (int i = 0; i < 4; ++i) {
        const core::ReportLimits& limits = preset.Limits[i / 2];
        const std::optional<double>& limit = i % 2 == 0 ? limits.High : limits.Low;
        auto* row = new QHBoxLayout;
        m_limitOn[i] = new QCheckBox(QStringLiteral("On"), this);
        m_limitOn[i]->setChecked(limit.has_value());
        m_limit[i] = Degrees(this, limit.value_or(i % 2 == 0 ? 8.0 : 2.0), unit);
        m_limit[i]->setEnabled(limit.has_value());
        m_limit[i]->setAccessibleName(QString(names[i]).remove(u'&').chopped(1));
        m_limitOn[i]->setAccessibleName(m_limit[i]->accessibleName() + QStringLiteral(" on"));
        connect(m_limitOn[i], &QCheckBox::toggled, m_limit[i], &QWidget::setEnabled);
        row->addWidget(m_limitOn[i]);
        row->addWidget(m_limit[i], 1);
        auto* label = new QLabel(names[i], this);
        label->setBuddy(m_limitOn[i]);
        form->addRow(label, row);
    }

    m_energy = new QDoubleSpinBox(this);
    m_energy->setObjectName(QStringLiteral("edActivationEnergy"));
    m_energy->setRange(0.001, 1000.0);
    m_energy->setDecimals(3);
    m_energy->setSuffix(QStringLiteral(" kJ/mol"));
    m_energy->setValue(preset.ActivationEnergyKjPerMol);
    form->addRow(QStringLiteral("MKT's &activation energy:"), m_energy);

    m_lethality = new QComboBox(this);
    m_lethality->setObjectName(QStringLiteral("cbLethality"));
    m_lethality->addItems({QStringLiteral("Off"), QStringLiteral("F0 (121.1 °C, z 10 °C)"),
                           QStringLiteral("Pasteurization units (60 °C, z 7 °C)"),
                           QStringLiteral("Tref and z below")});
    m_lethality->setCurrentIndex(static_cast<int>(preset.Lethality));
    form->addRow(QStringLiteral("L&ethality:"), m_lethality);
    m_reference = Degrees(this, preset.Own.ReferenceCelsius, QStringLiteral("°C"));
    form->addRow(QStringLiteral("&Tref:"), m_reference);
    m_z = Degrees(this, preset.Own.ZCelsius, QStringLiteral("°C"));
    m_z->setMinimum(0.1);
    form->addRow(QStringLiteral("&z:"), m_z);
    const auto ownShown = [this] {
        const bool own = m_lethality->currentIndex() == static_cast<int>(ReportLethality::Own);
        m_reference->setEnabled(own);
        m_z->setEnabled(own);
    };
    connect(m_lethality, &QComboBox::currentIndexChanged, this, ownShown);
    ownShown();

    m_heading = new QLineEdit(preset.Heading, this);
    m_heading->setObjectName(QStringLiteral("edHeading"));
    m_heading->setPlaceholderText(QStringLiteral("lab, product, batch"));
    form->addRow(QStringLiteral("Hea&ding:"), m_heading);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save =
        buttons->addButton(QStringLiteral("&Save as PDF..."), QDialogButtonBox::AcceptRole);
    save->setObjectName(QStringLiteral("btnSavePdf"));
    QPushButton* print =
        buttons->addButton(QStringLiteral("&Print..."), QDialogButtonBox::AcceptRole);
    print->setObjectName(QStringLiteral("btnPrintReport"));
    buttons->addButton(QDialogButtonBox::Cancel);
    (preset.Print ? print : save)->setDefault(true);
    connect(save, &QPushButton::clicked, this, [this] {
        m_print = false;
        accept();
    });
    connect(print, &QPushButton::clicked, this, [this] {
        m_print = true;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    ui::ScrollWhenLargerThanScreen(*this);
}

ReportChoice ReportDialog::Choice() const {
    ReportChoice choice;
    choice.ZoomOnly = m_range->currentIndex() == 1;
    for (int i = 0; i < 4; ++i) {
        if (!m_limitOn[i]->isChecked()) continue;
        core::ReportLimits& limits = choice.Limits[i / 2];
        (i % 2 == 0 ? limits.High : limits.Low) = m_limit[i]->value();
    }
    choice.ActivationEnergyKjPerMol = m_energy->value();
    choice.Lethality = static_cast<ReportLethality>(m_lethality->currentIndex());
    choice.Own = {m_reference->value(), m_z->value()};
    choice.Heading = m_heading->text();
    choice.Print = m_print;
    return choice;
}

std::optional<ReportChoice> AskReport(ui::Prompter& prompter, QWidget* parent,
                                      const ReportChoice& preset, bool zoomed,
                                      const QString& unit) {
    ReportDialog dialog(parent, preset, zoomed, unit);
    if (prompter.Exec(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.Choice();
}

}  // namespace kr820::print

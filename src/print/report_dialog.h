// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

#include "core/report/report_settings.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QSettings;

namespace kr820::ui {
class Prompter;
}

namespace kr820::print {

enum class ReportLethality { Off, F0, PasteurizationUnits, Own };

// What File > Report... was asked for. Limits are in the readings' unit.
struct ReportChoice {
    bool ZoomOnly = false;
    std::array<core::ReportLimits, 2> Limits;
    double ActivationEnergyKjPerMol = core::kDefaultActivationEnergyKjPerMol;
    ReportLethality Lethality = ReportLethality::Off;
    core::LethalityParameters Own = core::kF0Lethality;  // Tref and z of ReportLethality::Own
    QString Heading;
    bool Print = false;  // printed, else saved as PDF

    // The computation's settings (the range is the caller's).
    core::ReportSettings Settings() const;
};

// The choices last made (all but the limits, which come from the alarms each time).
ReportChoice ReadReportChoice(QSettings& settings);
void WriteReportChoice(QSettings& settings, const ReportChoice& choice);

// Range, limits, MKT's activation energy, lethality and the heading line; Save as PDF... or
// Print....
class ReportDialog : public QDialog {
public:
    ReportDialog(QWidget* parent, const ReportChoice& preset, bool zoomed, const QString& unit);
    ReportChoice Choice() const;

private:
    QComboBox* m_range = nullptr;
    std::array<QCheckBox*, 4> m_limitOn{};  // T1 high, T1 low, T2 high, T2 low
    std::array<QDoubleSpinBox*, 4> m_limit{};
    QDoubleSpinBox* m_energy = nullptr;
    QComboBox* m_lethality = nullptr;
    QDoubleSpinBox* m_reference = nullptr;
    QDoubleSpinBox* m_z = nullptr;
    QLineEdit* m_heading = nullptr;
    bool m_print = false;
};

// Nothing when the user cancelled.
std::optional<ReportChoice> AskReport(ui::Prompter& prompter, QWidget* parent,
                                      const ReportChoice& preset, bool zoomed, const QString& unit);

}  // namespace kr820::print

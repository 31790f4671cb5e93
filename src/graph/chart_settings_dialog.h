// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QLineEdit;
class QTabWidget;

namespace kr820::core {
class ChartModel;
}

namespace kr820::graph {

// The chart's own settings dialog (sgCustomize): titles, legend and grid; plotting and colours;
// each subset's label, colour and line; fonts; the Y axes' ranges (on the first page, the working
// axis's alone, when the axes page is off). The chart's Allow...Page switches choose the pages.
// It edits a copy and changes the chart only through ApplyTo.
class ChartSettingsDialog : public QDialog {
    Q_OBJECT

public:
    explicit ChartSettingsDialog(const core::ChartModel& chart, QWidget* parent = nullptr);

    bool HasPages() const;
    // Writes the shown pages' values into the chart; pages not shown leave theirs alone. The
    // working axis is the same afterwards.
    void ApplyTo(core::ChartModel& chart) const;

private:
    QWidget* GeneralPage(const core::ChartModel& chart);
    QWidget* PlotPage(const core::ChartModel& chart);
    QWidget* SubsetsPage(const core::ChartModel& chart);
    QWidget* FontPage(const core::ChartModel& chart);
    QWidget* AxisPage(const core::ChartModel& chart);

    QTabWidget* m_pages = nullptr;

    QLineEdit* m_mainTitle = nullptr;
    QLineEdit* m_subTitle = nullptr;
    QLineEdit* m_xAxisLabel = nullptr;
    QCheckBox* m_showLegend = nullptr;
    QComboBox* m_legendLocation = nullptr;
    QComboBox* m_gridLines = nullptr;
    QComboBox* m_gridStyle = nullptr;

    QComboBox* m_plottingMethod = nullptr;
    QCheckBox* m_markDataPoints = nullptr;
    QComboBox* m_foreColor = nullptr;
    QComboBox* m_backColor = nullptr;
    QComboBox* m_deskColor = nullptr;
    QComboBox* m_textColor = nullptr;

    struct SubsetRow {
        QLineEdit* Label = nullptr;
        QComboBox* Color = nullptr;
        QComboBox* LineType = nullptr;
    };
    std::vector<SubsetRow> m_subsets;

    QFontComboBox* m_mainTitleFont = nullptr;
    QFontComboBox* m_subTitleFont = nullptr;
    QFontComboBox* m_labelFont = nullptr;
    QComboBox* m_fontSize = nullptr;

    struct AxisRow {
        int Axis = 0;
        QCheckBox* Fixed = nullptr;  // none: the range is always fixed
        QDoubleSpinBox* Min = nullptr;
        QDoubleSpinBox* Max = nullptr;
    };
    std::vector<AxisRow> m_axes;
};

}  // namespace kr820::graph

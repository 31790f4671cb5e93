// SPDX-License-Identifier: MIT
#include "graph/chart_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>
#include <QVBoxLayout>
#include <initializer_list>
#include <utility>

#include "core/chart/chart_model.h"
#include "graph/chart_look.h"
#include "ui/fit_on_screen.h"

namespace kr820::graph {

namespace {

// The sixteen basic colours; a colour not among them is offered as it is.
constexpr std::pair<const char*, core::RgbColor> kColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x800000},  {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},   {"Purple", 0x800080},  {"Teal", 0x008080},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},     {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF},  {"White", 0xFFFFFF},
};
constexpr double kAxisLimit = 100000.0;

QIcon Swatch(core::RgbColor rgb) {
    QPixmap picture(14, 14);
    picture.fill(ToQColor(rgb));
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return QIcon(picture);
}

QComboBox* ColorBox(core::RgbColor current) {
    auto* box = new QComboBox;
    for (const auto& [name, rgb] : kColors)
        box->addItem(Swatch(rgb), name, QVariant::fromValue(rgb));
    int index = box->findData(QVariant::fromValue(current));
    if (index < 0) {
        box->addItem(Swatch(current), QStringLiteral("#%1").arg(current, 6, 16, QChar(u'0')),
                     QVariant::fromValue(current));
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
    return box;
}

core::RgbColor ColorOf(const QComboBox* box) { return box->currentData().value<core::RgbColor>(); }

template <typename Code>
QComboBox* CodeBox(std::initializer_list<std::pair<const char*, Code>> choices, Code current) {
    auto* box = new QComboBox;
    for (const auto& [name, code] : choices) box->addItem(name, static_cast<int>(code));
    box->setCurrentIndex(std::max(box->findData(static_cast<int>(current)), 0));
    return box;
}

template <typename Code>
Code CodeOf(const QComboBox* box) {
    return static_cast<Code>(box->currentData().toInt());
}

QFontComboBox* FontBox(const QString& family) {
    auto* box = new QFontComboBox;
    box->setCurrentFont(QFont(family));
    return box;
}

QDoubleSpinBox* BoundBox(double value) {
    auto* box = new QDoubleSpinBox;
    box->setRange(-kAxisLimit, kAxisLimit);
    box->setDecimals(1);
    box->setValue(value);
    return box;
}

}  // namespace

ChartSettingsDialog::ChartSettingsDialog(const core::ChartModel& chart, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ChartSettingsDialog"));
    setWindowTitle(QStringLiteral("Graph Customization"));
    m_pages = new QTabWidget;
    const core::ChartSettings& s = chart.Settings();
    if (s.AllowPage1) m_pages->addTab(GeneralPage(chart), QStringLiteral("General"));
    if (s.AllowPage2) m_pages->addTab(PlotPage(chart), QStringLiteral("Plot"));
    if (s.AllowSubsetsPage) m_pages->addTab(SubsetsPage(chart), QStringLiteral("Subsets"));
    if (s.AllowFontPage) m_pages->addTab(FontPage(chart), QStringLiteral("Fonts"));
    if (s.AllowAxisPage) m_pages->addTab(AxisPage(chart), QStringLiteral("Axes"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(buttons);
    ui::ScrollWhenLargerThanScreen(*this);
}

bool ChartSettingsDialog::HasPages() const { return m_pages->count() > 0; }

QWidget* ChartSettingsDialog::GeneralPage(const core::ChartModel& chart) {
    using core::GridLines;
    using core::GridLineStyle;
    using core::LegendPlace;
    const core::ChartSettings& s = chart.Settings();
    m_mainTitle = new QLineEdit(s.MainTitle);
    m_mainTitle->setObjectName(QStringLiteral("edtMainTitle"));
    m_subTitle = new QLineEdit(s.SubTitle);
    m_xAxisLabel = new QLineEdit(s.XAxisLabel);
    m_showLegend = new QCheckBox(QStringLiteral("Show legend"));
    m_showLegend->setChecked(s.ShowLegend);
    m_legendLocation = CodeBox<LegendPlace>({{"Top", LegendPlace::sgLegendTop},
                                             {"Bottom", LegendPlace::sgLegendBottom},
                                             {"Left", LegendPlace::sgLegendLeft},
                                             {"Right", LegendPlace::sgLegendRight}},
                                            s.LegendLocation);
    m_gridLines = CodeBox<GridLines>({{"None", GridLines::sgNoGrid},
                                      {"Y axis", GridLines::sgYAxis},
                                      {"X axis", GridLines::sgXAxis},
                                      {"Both axes", GridLines::sgYPlusXAxis}},
                                     s.GridLineControl);
    m_gridStyle = CodeBox<GridLineStyle>({{"Thin", GridLineStyle::sgThin},
                                          {"Thick", GridLineStyle::sgThick},
                                          {"Dot", GridLineStyle::sgDot},
                                          {"Dash", GridLineStyle::sgDash}},
                                         s.GridStyle);
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("Main title"), m_mainTitle);
    form->addRow(QStringLiteral("Subtitle"), m_subTitle);
    form->addRow(QStringLiteral("X axis label"), m_xAxisLabel);
    form->addRow(m_showLegend, m_legendLocation);
    form->addRow(QStringLiteral("Grid lines"), m_gridLines);
    form->addRow(QStringLiteral("Grid style"), m_gridStyle);
    if (!s.AllowAxisPage) {
        // Without the axes page the working axis's range is set here; it is always fixed.
        const core::ChartAxes& axes = chart.Axes();
        AxisRow row{axes.WorkingAxis(), nullptr, BoundBox(axes.ManualMinY()),
                    BoundBox(axes.ManualMaxY())};
        row.Min->setObjectName(QStringLiteral("edtYMinimum"));
        row.Max->setObjectName(QStringLiteral("edtYMaximum"));
        auto* range = new QHBoxLayout;
        range->addWidget(row.Min);
        range->addWidget(new QLabel(QStringLiteral("to")));
        range->addWidget(row.Max);
        form->addRow(QStringLiteral("Y axis range"), range);
        m_axes.push_back(row);
    }
    return page;
}

QWidget* ChartSettingsDialog::PlotPage(const core::ChartModel& chart) {
    using core::PlotMethod;
    const core::ChartSettings& s = chart.Settings();
    m_plottingMethod = CodeBox<PlotMethod>({{"Line", PlotMethod::sgLine},
                                            {"Points", PlotMethod::sgPoint},
                                            {"Points and line", PlotMethod::sgPointsPlusLine},
                                            {"Bars", PlotMethod::sgBar}},
                                           s.PlottingMethod);
    m_markDataPoints = new QCheckBox(QStringLiteral("Mark data points"));
    m_markDataPoints->setChecked(s.MarkDataPoints);
    m_foreColor = ColorBox(s.GraphForeColor);
    m_backColor = ColorBox(s.GraphBackColor);
    m_deskColor = ColorBox(s.DeskColor);
    m_textColor = ColorBox(s.TextColor);
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("Plotting method"), m_plottingMethod);
    form->addRow(QString(), m_markDataPoints);
    form->addRow(QStringLiteral("Grid colour"), m_foreColor);
    form->addRow(QStringLiteral("Graph background"), m_backColor);
    form->addRow(QStringLiteral("Desk colour"), m_deskColor);
    form->addRow(QStringLiteral("Text colour"), m_textColor);
    return page;
}

QWidget* ChartSettingsDialog::SubsetsPage(const core::ChartModel& chart) {
    const core::ChartSettings& s = chart.Settings();
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QStringLiteral("Label")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Colour")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Line")), 0, 2);
    for (int subset = 0; subset < chart.Data().Subsets(); ++subset) {
        SubsetRow row{new QLineEdit(s.SubsetLabels.At(subset)), ColorBox(s.SubsetColors.At(subset)),
                      new QComboBox};
        for (int type = 0; type < kLineTypeCount; ++type)
            row.LineType->addItem(LineTypeName(type), type);
        row.LineType->setCurrentIndex(
            std::max(row.LineType->findData(s.SubsetLineTypes.At(subset)), 0));
        grid->addWidget(row.Label, subset + 1, 0);
        grid->addWidget(row.Color, subset + 1, 1);
        grid->addWidget(row.LineType, subset + 1, 2);
        m_subsets.push_back(row);
    }
    grid->setRowStretch(chart.Data().Subsets() + 1, 1);
    return page;
}

QWidget* ChartSettingsDialog::FontPage(const core::ChartModel& chart) {
    using core::FontSizeCode;
    const core::ChartSettings& s = chart.Settings();
    m_mainTitleFont = FontBox(s.MainTitleFont);
    m_subTitleFont = FontBox(s.SubTitleFont);
    m_labelFont = FontBox(s.LabelFont);
    m_fontSize = CodeBox<FontSizeCode>({{"Small", FontSizeCode::sgSmall},
                                        {"Medium", FontSizeCode::sgMedium},
                                        {"Large", FontSizeCode::sgLarge}},
                                       s.FontSize);
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("Main title"), m_mainTitleFont);
    form->addRow(QStringLiteral("Subtitle"), m_subTitleFont);
    form->addRow(QStringLiteral("Labels"), m_labelFont);
    form->addRow(QStringLiteral("Size"), m_fontSize);
    return page;
}

QWidget* ChartSettingsDialog::AxisPage(const core::ChartModel& chart) {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QStringLiteral("Minimum")), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Maximum")), 0, 3);
    int row = 1;
    for (const core::AxisBand& band : chart.Axes().Layout(chart.Data().Subsets())) {
        const core::YAxisSettings& axis = chart.Axes().Axis(band.Axis);
        const QString name = axis.YAxisLabel.isEmpty()
                                 ? QStringLiteral("Axis %1").arg(band.Axis + 1)
                                 : axis.YAxisLabel;
        AxisRow axisRow{band.Axis, new QCheckBox(QStringLiteral("Fixed range")),
                        BoundBox(axis.ManualMinY), BoundBox(axis.ManualMaxY)};
        axisRow.Fixed->setChecked(axis.ManualScaleControlY != core::ManualScale::sgNoManualScale);
        grid->addWidget(new QLabel(name), row, 0);
        grid->addWidget(axisRow.Fixed, row, 1);
        grid->addWidget(axisRow.Min, row, 2);
        grid->addWidget(axisRow.Max, row, 3);
        m_axes.push_back(axisRow);
        ++row;
    }
    grid->setRowStretch(row, 1);
    return page;
}

void ChartSettingsDialog::ApplyTo(core::ChartModel& chart) const {
    core::ChartSettings& s = chart.Settings();
    if (m_mainTitle) {
        s.MainTitle = m_mainTitle->text();
        s.SubTitle = m_subTitle->text();
        s.XAxisLabel = m_xAxisLabel->text();
        s.ShowLegend = m_showLegend->isChecked();
        s.LegendLocation = CodeOf<core::LegendPlace>(m_legendLocation);
        s.GridLineControl = CodeOf<core::GridLines>(m_gridLines);
        s.GridStyle = CodeOf<core::GridLineStyle>(m_gridStyle);
    }
    if (m_plottingMethod) {
        s.PlottingMethod = CodeOf<core::PlotMethod>(m_plottingMethod);
        s.MarkDataPoints = m_markDataPoints->isChecked();
        s.GraphForeColor = ColorOf(m_foreColor);
        s.GraphBackColor = ColorOf(m_backColor);
        s.DeskColor = ColorOf(m_deskColor);
        s.TextColor = ColorOf(m_textColor);
    }
    for (int subset = 0; subset < static_cast<int>(m_subsets.size()); ++subset) {
        const SubsetRow& row = m_subsets[subset];
        s.SubsetLabels.Set(subset, row.Label->text());
        s.SubsetColors.Set(subset, ColorOf(row.Color));
        s.SubsetLineTypes.Set(subset, row.LineType->currentData().toInt());
    }
    if (m_labelFont) {
        s.MainTitleFont = m_mainTitleFont->currentFont().family();
        s.SubTitleFont = m_subTitleFont->currentFont().family();
        s.LabelFont = m_labelFont->currentFont().family();
        s.FontSize = CodeOf<core::FontSizeCode>(m_fontSize);
    }
    if (!m_axes.empty()) {
        core::ChartAxes& axes = chart.Axes();
        const int working = axes.WorkingAxis();
        for (const AxisRow& row : m_axes) {
            axes.SetWorkingAxis(row.Axis);
            axes.SetManualScaleControlY(!row.Fixed || row.Fixed->isChecked()
                                            ? core::ManualScale::sgManualMinAndMax
                                            : core::ManualScale::sgNoManualScale);
            axes.SetManualMinY(row.Min->value());
            axes.SetManualMaxY(row.Max->value());
        }
        axes.SetWorkingAxis(working);
    }
}

}  // namespace kr820::graph

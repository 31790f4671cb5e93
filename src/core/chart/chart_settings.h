// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "core/chart/chart_codes.h"
#include "core/chart/indexed_property.h"

namespace kr820::core {

// Everything about a chart that is one plain value: titles, colours, what the user may do with
// it, how annotations show. The defaults are the look a graph window's chart has before any
// routine touches it.
struct ChartSettings {
    static constexpr qsizetype kMaxSubsetStyles = 64;

    // Data interpretation.
    double NullDataValueY = 9999.0;  // points with this Y are not drawn
    double LineGapThreshold = 0.0;   // days; points further apart are not joined; 0 joins all
    bool SubsetByPoint = false;
    bool UsingXDataII = false;
    DateTimeKind DateTimeMode = DateTimeKind::sgNoDateTimeMode;

    // Titles and labels (the Y axis labels belong to each axis).
    QString MainTitle;
    QString SubTitle;
    QString XAxisLabel;
    IndexedProperty<QString> SubsetLabels{kMaxSubsetStyles, QString()};
    IndexedProperty<RgbColor> SubsetColors{kMaxSubsetStyles, 0x0000FF};
    IndexedProperty<qint32> SubsetLineTypes{kMaxSubsetStyles, 0};

    // Colours and grid.
    RgbColor GraphForeColor = 0x000000;
    RgbColor GraphBackColor = 0xFFFFFF;
    RgbColor DeskColor = 0xC0C0C0;
    RgbColor TextColor = 0x000000;
    GridLineStyle GridStyle = GridLineStyle::sgThin;
    GridLines GridLineControl = GridLines::sgYPlusXAxis;

    // Plotting, legend, fonts.
    PlotMethod PlottingMethod = PlotMethod::sgLine;
    bool ShowLegend = true;
    LegendPlace LegendLocation = LegendPlace::sgLegendTop;
    ShadowStyle DataShadows = ShadowStyle::sgWithShadows;
    QString MainTitleFont = QStringLiteral("Times New Roman");
    QString SubTitleFont = QStringLiteral("Times New Roman");
    QString LabelFont = QStringLiteral("Arial");
    FontSizeCode FontSize = FontSizeCode::sgMedium;
    Precision DataPrecision = Precision::sgThreeDecimals;
    bool MarkDataPoints = false;
    bool PrepareImages = false;
    bool FocalRect = true;

    // Zoom.
    ZoomDirections AllowZooming = ZoomDirections::sgNoZooming;
    bool ScrollingHorzZoom = false;
    bool ScrollingVertZoom = false;
    ZoomFrame ZoomStyle = ZoomFrame::sgFramed;

    // Mouse.
    qint32 ArrowCursor = 0;
    bool AllowDataHotSpots = false;

    // What the user may reach: pop-up menu, settings dialog and its pages, export, printing.
    bool AllowPopup = true;
    bool AllowBar = true;
    bool AllowDataLabels = true;
    bool AllowCustomization = true;
    bool AllowExporting = true;
    bool AllowMaximization = true;
    UserInterfaceLevel AllowUserInterface = UserInterfaceLevel::sgAllInterface;
    bool AllowPage1 = true;
    bool AllowPage2 = true;
    bool AllowSubsetsPage = true;
    bool AllowFontPage = true;
    bool AllowAxisPage = true;
    bool NoRandomPointsToExport = false;
    PageOrientation DefOrientation = PageOrientation::sgLandscape;
    PrintStyle PrintStyleControl = PrintStyle::sgPrintCurrentStyle;

    // Annotations: whether they show, whether clicks on them are reported, text size in percent.
    bool ShowGraphAnnotations = false;
    bool AllowGraphAnnotHotSpots = false;
    qint32 GraphAnnotationTextSize = 100;
    bool ShowVertLineAnnotations = false;
    bool AllowVertLineAnnotHotSpots = false;
    qint32 LineAnnotationTextSize = 100;

    bool operator==(const ChartSettings&) const = default;
};

// Hands every field to `visit` in one fixed order: the saved block's order. Saving and loading
// both walk this one list, so a new field goes here (at the end, with a new block version) and
// nowhere else.
template <typename Settings, typename Visitor>
void VisitChartSettings(Settings& s, Visitor&& visit) {
    visit(s.NullDataValueY);
    visit(s.LineGapThreshold);
    visit(s.SubsetByPoint);
    visit(s.UsingXDataII);
    visit(s.DateTimeMode);
    visit(s.MainTitle);
    visit(s.SubTitle);
    visit(s.XAxisLabel);
    visit(s.SubsetLabels);
    visit(s.SubsetColors);
    visit(s.SubsetLineTypes);
    visit(s.GraphForeColor);
    visit(s.GraphBackColor);
    visit(s.DeskColor);
    visit(s.TextColor);
    visit(s.GridStyle);
    visit(s.GridLineControl);
    visit(s.PlottingMethod);
    visit(s.ShowLegend);
    visit(s.LegendLocation);
    visit(s.DataShadows);
    visit(s.MainTitleFont);
    visit(s.SubTitleFont);
    visit(s.LabelFont);
    visit(s.FontSize);
    visit(s.DataPrecision);
    visit(s.MarkDataPoints);
    visit(s.PrepareImages);
    visit(s.FocalRect);
    visit(s.AllowZooming);
    visit(s.ScrollingHorzZoom);
    visit(s.ScrollingVertZoom);
    visit(s.ZoomStyle);
    visit(s.ArrowCursor);
    visit(s.AllowDataHotSpots);
    visit(s.AllowPopup);
    visit(s.AllowBar);
    visit(s.AllowDataLabels);
    visit(s.AllowCustomization);
    visit(s.AllowExporting);
    visit(s.AllowMaximization);
    visit(s.AllowUserInterface);
    visit(s.AllowPage1);
    visit(s.AllowPage2);
    visit(s.AllowSubsetsPage);
    visit(s.AllowFontPage);
    visit(s.AllowAxisPage);
    visit(s.NoRandomPointsToExport);
    visit(s.DefOrientation);
    visit(s.PrintStyleControl);
    visit(s.ShowGraphAnnotations);
    visit(s.AllowGraphAnnotHotSpots);
    visit(s.GraphAnnotationTextSize);
    visit(s.ShowVertLineAnnotations);
    visit(s.AllowVertLineAnnotHotSpots);
    visit(s.LineAnnotationTextSize);
}

}  // namespace kr820::core
